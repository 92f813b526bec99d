// The text of the Help page: CR LF after every line, the last one too.
#pragma once

#include <QString>

namespace ravelin {

QString helpText();

} // namespace ravelin
