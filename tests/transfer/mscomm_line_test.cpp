// The settings' text forms, the component's property checks and the termios2 flags a request
// becomes. This file uses <asm/termbits.h>; it must not include <termios.h>.
#include "mscomm.h"
#include "port_settings.h"
#include "tty_line.h"

#include <QTest>
#include <asm/termbits.h>

using namespace ravelin;

class MSCommLineTest : public QObject {
    Q_OBJECT
  private slots:
    void acceptedSettingsReportFullLowerCaseForm_data();
    void acceptedSettingsReportFullLowerCaseForm();
    void malformedSettingsAreRefusedWithReason_data();
    void malformedSettingsAreRefusedWithReason();
    void refusedValuesLeaveComponentUnchanged();
    void componentDefaults();
    void flowControlWarningOnlyForXonXoffCodes();
    void composedFlagsCarryFramingSpeedAndFlow();
    void composedFlagsKeepUnrelatedBits();
    void mismatchNamesWhatTheDeviceDidNotTake();
};

void MSCommLineTest::acceptedSettingsReportFullLowerCaseForm_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("reported");
    QTest::newRow("speed alone") << "19200"
                                 << "19200,n,8,1";
    QTest::newRow("non-standard speed alone") << "14400"
                                              << "14400,n,8,1";
    QTest::newRow("upper-case parity from OK") << "19200,N,8,1"
                                               << "19200,n,8,1";
    QTest::newRow("even") << "9600,E,7,2"
                          << "9600,e,7,2";
    QTest::newRow("odd") << "300,o,5,1"
                         << "300,o,5,1";
    QTest::newRow("mark") << "256000,M,8,1"
                          << "256000,m,8,1";
    QTest::newRow("space") << "110,s,6,2"
                           << "110,s,6,2";
    QTest::newRow("1.5 stop bits kept") << "19200,n,8,1.5"
                                        << "19200,n,8,1.5";
    QTest::newRow("4 data bits kept") << "1200,n,4,1"
                                      << "1200,n,4,1";
    QTest::newRow("blanks around fields") << " 57600 , e , 8 , 1 "
                                          << "57600,e,8,1";
    QTest::newRow("leading zero") << "09600"
                                  << "9600,n,8,1";
}

void MSCommLineTest::acceptedSettingsReportFullLowerCaseForm() {
    QFETCH(QString, given);
    QFETCH(QString, reported);
    QCOMPARE(framingText(portSettingsFromText(given)), reported);
}

void MSCommLineTest::malformedSettingsAreRefusedWithReason_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("description");
    const QString form = "expected speed,parity,data bits,stop bits (for example 19200,n,8,1)";
    const QString speed = "the speed must be a whole number of bits per second from 50 to 4000000";
    QTest::newRow("empty") << "" << speed;
    QTest::newRow("three fields") << "19200,n,8" << form;
    QTest::newRow("five fields") << "19200,n,8,1,1" << form;
    QTest::newRow("two fields") << "19200,n" << form;
    QTest::newRow("word") << "fast" << speed;
    QTest::newRow("negative") << "-9600" << speed;
    QTest::newRow("fraction") << "9600.5" << speed;
    QTest::newRow("too slow") << "49" << speed;
    QTest::newRow("too fast") << "4000001" << speed;
    QTest::newRow("overflowing digits") << "99999999999" << speed;
    QTest::newRow("parity letter") << "19200,x,8,1"
                                   << "the parity must be one of e, o, n, m, s";
    QTest::newRow("parity word") << "19200,none,8,1"
                                 << "the parity must be one of e, o, n, m, s";
    QTest::newRow("parity empty") << "19200,,8,1"
                                  << "the parity must be one of e, o, n, m, s";
    QTest::newRow("9 data bits") << "19200,n,9,1"
                                 << "the data bits must be 4 to 8";
    QTest::newRow("3 data bits") << "19200,n,3,1"
                                 << "the data bits must be 4 to 8";
    QTest::newRow("stop 3") << "19200,n,8,3"
                            << "the stop bits must be 1, 1.5 or 2";
    QTest::newRow("stop 1,5") << "19200,n,8,1;5"
                              << "the stop bits must be 1, 1.5 or 2";
    QTest::newRow("stop 1.50") << "19200,n,8,1.50"
                               << "the stop bits must be 1, 1.5 or 2";
}

void MSCommLineTest::malformedSettingsAreRefusedWithReason() {
    QFETCH(QString, given);
    QFETCH(QString, description);
    try {
        portSettingsFromText(given);
        QFAIL("accepted");
    } catch (const CommError &e) {
        QCOMPARE(e.description(), "Invalid port settings \"" + given + "\": " + description);
        QCOMPARE(QString::fromStdString(e.what()), e.description());
    }
}

void MSCommLineTest::refusedValuesLeaveComponentUnchanged() {
    MSComm comm;
    comm.setCommPort(5);

    for (int16_t bad : {int16_t(0), int16_t(17), int16_t(-1)}) {
        try {
            comm.setCommPort(bad);
            QFAIL("accepted");
        } catch (const CommError &e) {
            QCOMPARE(e.description(), QString("Invalid port number %1: choose 1 to 16").arg(bad));
        }
    }
    QCOMPARE(comm.CommPort(), 5);

    for (int bad : {-1, 4}) {
        try {
            flowControlFromCode(bad);
            QFAIL("accepted");
        } catch (const CommError &e) {
            QCOMPARE(e.description(),
                     QString("Invalid flow-control code %1: choose 0 to 3").arg(bad));
        }
    }
    QVERIFY_THROWS_EXCEPTION(CommError, comm.setInBufferCount(5));
}

void MSCommLineTest::componentDefaults() {
    MSComm comm;
    QCOMPARE(comm.CommPort(), 1);
    QCOMPARE(framingText(comm.settings()), "9600,n,8,1");
    QCOMPARE(comm.settings().flowControl, QSerialPort::NoFlowControl);
    QVERIFY(!comm.PortOpen());
    QCOMPARE(comm.InBufferCount(), 0);
    comm.setInBufferCount(0); // the transfers discard before they open
    comm.setPortOpen(false);
    try {
        comm.Output("x");
        QFAIL("sent on a closed port");
    } catch (const CommError &e) {
        QVERIFY(e.description().startsWith("Cannot send: the port "));
    }
    QVERIFY_THROWS_EXCEPTION(CommError, comm.Input());
}

void MSCommLineTest::flowControlWarningOnlyForXonXoffCodes() {
    const QString warning = "Xon/Xoff swallows the bytes 11h and 13h: dumps and uploads may "
                            "stall. Choose None or RTS for transfers.";
    const QString warnings[] = {"", warning, "", warning};
    for (int code = 0; code < 4; ++code)
        QCOMPARE(flowControlWarning(flowControlFromCode(code)), warnings[code]);
}

void MSCommLineTest::composedFlagsCarryFramingSpeedAndFlow() {
    struct Case {
        TtyRequest request;
        unsigned cflagBits; // of CBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS
        unsigned iflagBits; // of IXON | IXOFF | IXANY
    };
    const Case cases[] = {
        {{19200, 8, 'n', false, false, false}, B19200 | CS8, 0},
        {{14400, 7, 'e', false, false, true}, BOTHER | CS7 | PARENB, IXON | IXOFF},
        {{256000, 6, 'o', true, true, false}, BOTHER | CS6 | PARENB | PARODD | CSTOPB | CRTSCTS, 0},
        {{110, 5, 'm', false, true, true},
         B110 | CS5 | PARENB | PARODD | CMSPAR | CRTSCTS,
         IXON | IXOFF},
        {{57600, 8, 's', true, false, false}, B57600 | CS8 | PARENB | CMSPAR | CSTOPB, 0},
    };
    const unsigned cmask = CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    for (const Case &c : cases) {
        // Start from the opposite of everything so no bit survives by accident.
        const TtyFlags dirty{IXON | IXOFF | IXANY, cmask, 1, 2};
        const TtyFlags f = composeTtyFlags(dirty, c.request);
        QCOMPARE(f.cflag & cmask, c.cflagBits);
        QCOMPARE(f.iflag & (IXON | IXOFF | IXANY), c.iflagBits);
        QCOMPARE(f.ispeed, c.request.speed);
        QCOMPARE(f.ospeed, c.request.speed);
        QVERIFY(f.cflag & CREAD);
        QVERIFY(f.cflag & CLOCAL);
        QCOMPARE(ttyMismatch(c.request, f, false), std::string());
    }
}

void MSCommLineTest::composedFlagsKeepUnrelatedBits() {
    const TtyFlags before{IGNBRK | ICRNL, HUPCL, 0, 0};
    const TtyFlags f = composeTtyFlags(before, TtyRequest{});
    QCOMPARE(f.iflag, unsigned(IGNBRK | ICRNL));
    QVERIFY(f.cflag & HUPCL);
}

void MSCommLineTest::mismatchNamesWhatTheDeviceDidNotTake() {
    const TtyRequest request{256000, 7, 'm', true, true, true};
    const TtyFlags good = composeTtyFlags({}, request);

    TtyFlags rounded = good;
    rounded.ospeed = rounded.ispeed = 250000; // 2.3% off
    QCOMPARE(ttyMismatch(request, rounded, false),
             std::string("the device does not support 256000 bit/s (it set 250000)"));
    rounded.ospeed = rounded.ispeed = 251000; // within 2%: a clock divisor's rounding
    QCOMPARE(ttyMismatch(request, rounded, false), std::string());
    TtyFlags inputOnlyWrong = good;
    inputOnlyWrong.ispeed = 9600;
    QVERIFY(!ttyMismatch(request, inputOnlyWrong, false).empty());

    TtyFlags eightBits = good;
    eightBits.cflag = (eightBits.cflag & ~CSIZE) | CS8;
    QCOMPARE(ttyMismatch(request, eightBits, false),
             std::string("the device does not support 7 data bits"));
    TtyFlags noMark = good;
    noMark.cflag &= ~CMSPAR;
    QCOMPARE(ttyMismatch(request, noMark, false),
             std::string("the device does not support mark parity"));
    TtyFlags noStop = good;
    noStop.cflag &= ~CSTOPB;
    QCOMPARE(ttyMismatch(request, noStop, false),
             std::string("the device does not support 2 stop bits"));
    TtyFlags noRts = good;
    noRts.cflag &= ~CRTSCTS;
    QCOMPARE(ttyMismatch(request, noRts, false),
             std::string("the device does not support RTS/CTS flow control"));
    TtyFlags noXoff = good;
    noXoff.iflag &= ~IXOFF;
    QCOMPARE(ttyMismatch(request, noXoff, false),
             std::string("the device does not support Xon/Xoff flow control"));

    // A pseudo-terminal forces 8 bits and no parity enable; the rest is still compared.
    TtyFlags pty = good;
    pty.cflag = (pty.cflag & ~(CSIZE | PARENB)) | CS8;
    QCOMPARE(ttyMismatch(request, pty, true), std::string());
    pty.cflag &= ~PARODD;
    QCOMPARE(ttyMismatch(request, pty, true),
             std::string("the device does not support mark parity"));
}

QTEST_GUILESS_MAIN(MSCommLineTest)
#include "mscomm_line_test.moc"
