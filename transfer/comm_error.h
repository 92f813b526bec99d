// The one exception type of the serial side: its text is a complete description for the operator
// (a message box or the status bar shows it unchanged).
#pragma once

#include <QString>
#include <stdexcept>

namespace ravelin {

class CommError : public std::runtime_error {
  public:
    explicit CommError(const QString &description)
        : std::runtime_error(description.toStdString()), text(description) {}

    QString description() const { return text; }

  private:
    QString text;
};

} // namespace ravelin
