// The incremental reader against the decoder: a generated raw database fed in pieces of random
// sizes must give the model that reading its converted database gives, whole, cut short or
// damaged.
#include "../dumpdec/conversion_fixture.h"
#include "incremental_reader.h"
#include "samples.h"
#include "survey_reader.h"

#include <random>

namespace {

using ravelin::test::ConversionTest;

// The links between headers are file offsets the conversion rewrites; everything else must agree.
survey::Database without_links(survey::Database db) {
    for (survey::Survey &s : db.surveys) {
        s.header.next_survey = s.header.first_line = 0;
        for (survey::Line &line : s.lines) {
            line.profile.first_data = line.profile.next_profile = 0;
            line.sounding.first_data = line.sounding.next_sounding = 0;
            line.bore_hole.first_data = line.bore_hole.next_bore_hole = 0;
        }
    }
    return db;
}

class IncrementalReaderTest : public ConversionTest {
  protected:
    survey::Database converted(const std::vector<std::uint8_t> &raw) {
        write("a.raw", raw);
        const std::int16_t keep = 1;
        EXPECT_EQ(dumpdec::convert(path("a.raw"), &keep).result, 1);
        return without_links(survey::load_database(path("a.tvd")).database);
    }

    // Feeds raw in pieces of 1 to max_piece bytes.
    survey::IncrementalReader fed(const std::vector<std::uint8_t> &raw, std::size_t max_piece,
                                  unsigned seed) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<std::size_t> piece(1, max_piece);
        survey::IncrementalReader reader;
        for (std::size_t at = 0; at < raw.size();) {
            const std::size_t n = std::min(piece(random), raw.size() - at);
            reader.feed(raw.data() + at, n);
            at += n;
        }
        reader.finish();
        return reader;
    }

    void expect_same_model(const std::vector<std::uint8_t> &raw) {
        const survey::Database expected = converted(raw);
        ASSERT_FALSE(expected.surveys.empty());
        for (const std::size_t max_piece : {std::size_t{7}, std::size_t{255}, std::size_t{70000}}) {
            survey::IncrementalReader reader = fed(raw, max_piece, unsigned(max_piece));
            EXPECT_EQ(reader.counts(), survey::count_readings(expected)) << max_piece;
            EXPECT_TRUE(without_links(reader.take()) == expected) << "pieces up to " << max_piece;
        }
    }
};

TEST_F(IncrementalReaderTest, GivesTheConvertedDatabasesModelWhateverThePieces) {
    ravelin::sample::VirelShape virel;
    virel.surveys = 2;
    virel.profiles_per_survey = 9;
    virel.memory_size = 400000; // erased memory after the data
    expect_same_model(ravelin::sample::build_virel(virel));

    ravelin::sample::Kx4Shape kx4;
    kx4.surveys = 2;
    expect_same_model(ravelin::sample::build_kx4(kx4));
}

TEST_F(IncrementalReaderTest, ARecordCutByTheEndReadsAsErasedMemoryAsTheDecoderReadsIt) {
    ravelin::sample::VirelShape virel;
    std::vector<std::uint8_t> raw = ravelin::sample::build_virel(virel);
    for (const std::size_t cut : {std::size_t{7}, std::size_t{101}}) {
        raw.resize(raw.size() - cut);
        expect_same_model(raw);
        const survey::IncrementalReader reader = fed(raw, 300, 1);
        EXPECT_EQ(reader.status().stop, survey::LoadStop::TruncatedRecord);
    }
}

TEST_F(IncrementalReaderTest, AnUnknownRecordStopsReadingWithTheReasonKeepingWhatCameBefore) {
    ravelin::sample::Kx4Shape kx4;
    std::vector<std::uint8_t> raw = ravelin::sample::build_kx4(kx4);
    const survey::IncrementalReader whole = fed(raw, 1000, 2);
    // Damage the record header after the third KX-4 reading.
    survey::IncrementalReader probe;
    std::size_t at = 0;
    while (probe.counts().kx4 < 3)
        probe.feed(&raw[at++], 1);
    const std::size_t damaged = probe.position();
    raw[damaged] = 0x7A;
    raw[damaged + 1] = 0x00;
    expect_same_model(raw);
    const survey::IncrementalReader reader = fed(raw, 13, 3);
    EXPECT_EQ(reader.counts().kx4, 3u);
    EXPECT_LT(reader.counts().kx4, whole.counts().kx4);
    EXPECT_EQ(survey::stop_reason(reader.status()), "Reading stopped at byte " +
                                                        std::to_string(damaged) +
                                                        ": record 0x7a00 is of no known kind.");
}

} // namespace
