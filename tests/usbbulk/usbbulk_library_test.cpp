// libusbbulk.so as the program loads it: by path, bound by name, on a machine with no
// instrument attached.
#include "usbbulk.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

class UsbbulkLibrary : public testing::Test {
  protected:
    void SetUp() override {
        library = dlopen(USBBULK_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
    }
    void TearDown() override {
        if (library) dlclose(library);
    }
    template <typename F> F *bind(const char *name) {
        return reinterpret_cast<F *>(dlsym(library, name));
    }
    void *library = nullptr;
};

TEST_F(UsbbulkLibrary, WithoutAnInstrumentEverythingFailsCleanly) {
    auto getDescriptor = bind<decltype(dll_getDeviceDescriptor)>("dll_getDeviceDescriptor");
    auto openPipe = bind<decltype(dll_openUsbPipe)>("dll_openUsbPipe");
    auto readPipe = bind<decltype(dll_readPipe)>("dll_readPipe");
    auto writePipe = bind<decltype(dll_writePipe)>("dll_writePipe");
    auto closePipe = bind<decltype(dll_closeUsbPipe)>("dll_closeUsbPipe");
    auto getLong = bind<decltype(dll_Get_Long)>("dll_Get_Long");
    auto getOpenFailure = bind<decltype(dll_getOpenFailure)>("dll_getOpenFailure");
    ASSERT_TRUE(getDescriptor && openPipe && readPipe && writePipe && closePipe && getLong &&
                getOpenFailure);

    uint8_t descriptor[18] = {};
    if (getDescriptor(descriptor) != 0) GTEST_SKIP() << "an instrument is attached to this machine";
    EXPECT_EQ(openPipe("PIPE3"), -1);
    EXPECT_EQ(getOpenFailure(), USBBULK_OPEN_FAILED); // not found, not refused
    EXPECT_EQ(openPipe("PIPE2"), -1);
    EXPECT_EQ(openPipe("NOPIPE"), -1);

    uint8_t buffer[64] = {};
    int32_t count = 7;
    EXPECT_EQ(readPipe(0, buffer, 64, &count), 0);
    EXPECT_EQ(count, 0);
    count = 7;
    EXPECT_EQ(writePipe(0, buffer, 48, &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(closePipe(-1), 0);

    const uint8_t packet[64] = {0x40, 0x42, 0x0F, 0x00}; // 1000000
    EXPECT_EQ(getLong(packet), 1000000);
}

} // namespace
