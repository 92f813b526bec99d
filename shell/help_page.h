// The Help page: a picture of the connection above the help text.
#pragma once

#include <QWidget>

namespace ravelin {

class HelpPage : public QWidget {
  public:
    explicit HelpPage(QWidget *parent = nullptr);
};

} // namespace ravelin
