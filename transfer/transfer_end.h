// Why the running transfer must end. Whichever part finds out first sets it: the receiving or
// sending side, the operator's STOP, a lost port. The procedure waiting for the transfer reads
// it. The first reason stands; everything runs on one thread, so no locks.
#pragma once

#include <QString>

namespace ravelin {

class TransferEnd {
  public:
    void set(const QString &reason) {
        if (reason_.isEmpty()) reason_ = reason;
    }
    bool isSet() const { return !reason_.isEmpty(); }
    const QString &reason() const { return reason_; }
    void clear() { reason_.clear(); }

  private:
    QString reason_;
};

} // namespace ravelin
