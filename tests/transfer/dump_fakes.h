// Test doubles for the transfers: a serial channel fed from byte strings, a sink that records
// what the window would show, and builders for the instrument's dump stream.
#pragma once

#include "comm_error.h"
#include "protocol_bytes.h"
#include "serial_channel.h"
#include "transfer_sink.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <functional>

namespace ravelin::test {

// What a serial channel would see: bytes queued by feed(), bytes the PC sent in `sent`.
// `instrument`, when set, answers each Output as the other end of the line; its answer arrives
// as a posted input event, like real input.
class FakePort : public QObject, public SerialChannel {
    Q_OBJECT
  public:
    QByteArray incoming;
    QByteArray sent;
    bool open = false;
    int opens = 0;
    PortSettings settings;
    QString refuseOpen; // non-empty: opening throws this description
    std::function<QByteArray(const QByteArray &sent)> instrument;

    int InBufferCount() override { return int(incoming.size()); }
    void DiscardInput() override { incoming.clear(); }
    uint8_t InputByte() override {
        const uint8_t b = uint8_t(incoming.at(0));
        incoming.remove(0, 1);
        return b;
    }
    void Output(const QByteArray &bytes) override {
        sent += bytes;
        if (instrument) feed(instrument(bytes));
    }
    void setPortOpen(bool wanted) override {
        if (wanted && !refuseOpen.isEmpty()) throw CommError(refuseOpen);
        if (wanted && !open) ++opens;
        open = wanted;
    }
    void setSettings(const PortSettings &s) override { settings = s; }

    void feed(const QByteArray &bytes) {
        if (bytes.isEmpty()) return;
        incoming += bytes;
        QMetaObject::invokeMethod(this, &FakePort::OnComm, Qt::QueuedConnection);
    }

  signals:
    void OnComm();
};

struct RecordingSink : TransferSink {
    QStringList statuses;
    QList<QPair<int, QString>> dumpProgress;
    QList<QPair<int, QString>> uploadProgress;
    QStringList messages; // "title|text"
    int beeps = 0;
    QList<bool> dumpButton;
    QList<bool> uploadButton;

    void setStatus(const QString &t) override { statuses << t; }
    void setDumpProgress(int v, const QString &c) override { dumpProgress << qMakePair(v, c); }
    void setUploadProgress(int v, const QString &c) override { uploadProgress << qMakePair(v, c); }
    void showMessage(const QString &text, const QString &title) override {
        messages << title + "|" + text;
    }
    void beep() override { ++beeps; }
    void setDumpButtonEnabled(bool e) override { dumpButton << e; }
    void setUploadButtonEnabled(bool e) override { uploadButton << e; }
    QString lastStatus() const { return statuses.isEmpty() ? QString() : statuses.last(); }
};

// The ten header characters announcing `length` bytes.
inline QByteArray lengthHeader(qint64 length) {
    return QByteArray::number(length).rightJustified(kHeaderSize, '0');
}

// A 255-byte block carrying 252 data bytes (short data is padded with 0xFF), its check bytes
// making the sum of all 255 bytes 0 modulo 256.
inline QByteArray dumpBlock(const QByteArray &data) {
    QByteArray block(1, char(kBlockStart));
    block += data.left(kBlockData);
    block += QByteArray(kBlockData - qMin<qsizetype>(data.size(), kBlockData), char(0xFF));
    uint8_t sum = 0;
    for (char c : block)
        sum = uint8_t(sum + uint8_t(c));
    block += char(0x80);
    block += char(uint8_t(0x80 - sum));
    return block;
}

// A memory image whose bytes follow a pattern that shows misplaced or repeated data.
inline QByteArray memoryImage(qsizetype size) {
    QByteArray image(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        image[i] = char((i * 7 + i / 251) & 0xFF);
    return image;
}

// A file's bytes, or "<missing>" when it cannot be read.
inline QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline QString writeFile(const QString &path, const QByteArray &content) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(content);
    return path;
}

} // namespace ravelin::test
