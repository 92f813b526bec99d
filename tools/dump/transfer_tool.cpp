#include "transfer_tool.h"

#include "dump_name.h"
#include "live_dump.h"
#include "mscomm.h"
#include "mscomm_channel.h"
#include "settings_store.h"
#include "transfer_engine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace ravelin {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitEmpty = 3;

// Statuses and message boxes as lines; progress only when its figure changes.
class PrintingSink : public TransferSink {
  public:
    void setStatus(const QString &text) override { print(text); }
    void setDumpProgress(int value, const QString &caption) override { progress(value, caption); }
    void setUploadProgress(int value, const QString &caption) override { progress(value, caption); }
    void showMessage(const QString &text, const QString &title) override {
        print(title + ": " + text);
    }
    void beep() override {}
    void setDumpButtonEnabled(bool) override {}
    void setUploadButtonEnabled(bool) override {}

  private:
    void print(const QString &line) {
        std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    }
    void progress(int value, const QString &caption) {
        if (value == lastValue_) return;
        lastValue_ = value;
        print(caption);
    }
    int lastValue_ = -1;
};

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void printLine(const std::string &line) {
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
}

int usage(const QString &text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return kExitUsage;
}

} // namespace

int runTransferTool(int argc, char **argv, TransferTool tool) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(tool == TransferTool::Dump ? "ravelin-dump"
                                                                    : "ravelin-upload");
    QCoreApplication::setApplicationVersion(RAVELIN_VERSION);
    const bool dump = tool == TransferTool::Dump;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        dump ? "Dumps the instrument's data memory into FILE (named .raw)."
             : "Uploads the operating system in FILE.sys into the instrument.");
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption portOption("port", "Serial device to use.", "DEVICE");
    const QCommandLineOption comOption("com", "Port number 1-16 (default: stored).", "N");
    const QCommandLineOption settingsOption(
        "settings", "Port settings, e.g. 115200,n,8,1 (default: stored).", "SETTINGS");
    const QCommandLineOption flowOption("flow", "Flow control 0-3 (default: stored).", "N");
    const QCommandLineOption usbOption("usb", "Transfer over USB instead of the serial port.");
    const QCommandLineOption libraryOption("usb-library", "Load this usbbulk library file.",
                                           "PATH");
    parser.addOptions(
        {portOption, comOption, settingsOption, flowOption, usbOption, libraryOption});
    const QCommandLineOption liveOption(
        "live", "Print each line header as it arrives and, every second, the readings received.");
    if (dump) parser.addOption(liveOption);
    parser.addPositionalArgument(dump ? "FILE" : "FILE.sys",
                                 dump ? "The dump file." : "The system file.");
    if (!parser.parse(app.arguments()))
        return usage(app.applicationName() + ": " + parser.errorText());
    if (parser.isSet(versionOption)) parser.showVersion();
    if (parser.isSet("help-all")) parser.process(app); // shows Qt's own options and exits
    if (parser.isSet(helpOption)) {
        // The usage line names the tool, not the path it was started by.
        const QString help = parser.helpText().replace("Usage: " + app.arguments().constFirst(),
                                                       "Usage: " + app.applicationName());
        std::fprintf(stdout, "%s", help.toLocal8Bit().constData());
        return 0;
    }
    if (parser.positionalArguments().size() != 1) return usage(parser.helpText());
    if (parser.isSet(portOption) && parser.isSet(comOption))
        return usage("--port and --com exclude each other");

    MSComm comm;
    try {
        PortSettings settings = portSettingsFromText(parser.isSet(settingsOption)
                                                         ? parser.value(settingsOption)
                                                         : GetSetting("COMM", "Settings", "19200"));
        settings.flowControl = flowControlFromCode(
            parser.isSet(flowOption) ? parser.value(flowOption).toInt()
                                     : GetSetting("COMM", "Handshaking", "1").toInt());
        comm.setSettings(settings);
        comm.setCommPort(int16_t(parser.isSet(comOption)
                                     ? parser.value(comOption).toInt()
                                     : GetSetting("COMM", "CommPort", "1").toInt()));
        if (parser.isSet(portOption)) comm.setDevicePathOverride(parser.value(portOption));
    } catch (const CommError &e) {
        return usage(e.description());
    }

    MSCommChannel channel(comm);
    QTimer timer1, timer2;
    PrintingSink sink;
    TransferEngine engine(channel, timer1, timer2, sink);
    QObject::connect(&comm, &MSComm::OnComm, &engine, &TransferEngine::takeInput);
    QObject::connect(&comm, &MSComm::portLost, &engine, &TransferEngine::portLost);
    if (parser.isSet(libraryOption)) engine.setUsbLibraryPath(parser.value(libraryOption));

    // Ctrl-C ends the transfer the way a failure does: a dump keeps what it received.
    if (::pipe(signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &engine, [&engine] {
            char byte;
            [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
            engine.abort();
        });
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }

    // The live view reads on a thread of its own; its count line comes every second.
    std::unique_ptr<LiveDump> live;
    QTimer liveTimer;
    if (dump && parser.isSet(liveOption)) {
        live = std::make_unique<LiveDump>(
            [](int surveyNumber, const survey::Survey &s, int lineNumber, const survey::Line &l) {
                printLine("live: " + liveLineTitle(surveyNumber, s, lineNumber, l));
            });
        live->prepare();
        engine.setLiveDump(live.get());
        liveTimer.setInterval(1000);
        QObject::connect(&liveTimer, &QTimer::timeout, &liveTimer,
                         [&live] { printLine(liveCountLine(live->snapshot(false).counts)); });
        liveTimer.start();
    }

    const QString file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    const bool usb = parser.isSet(usbOption);
    const TransferOutcome outcome = dump ? engine.startDump(normalisedDumpName(file), usb)
                                         : engine.startUpload(file, usb, comm.settings());
    if (live) {
        liveTimer.stop();
        live->finish();
        const LiveDump::Snapshot end = live->snapshot(false);
        printLine(liveCountLine(end.counts));
        if (!end.stop_reason.empty()) printLine("live: " + end.stop_reason);
    }
    switch (outcome) {
    case TransferOutcome::Completed:
        return 0;
    case TransferOutcome::MemoryEmpty:
        return kExitEmpty;
    case TransferOutcome::Failed:
        break;
    }
    return kExitFailed;
}

} // namespace ravelin
