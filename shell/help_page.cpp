#include "help_page.h"

#include "help_text.h"
#include "page_parts.h"
#include "picture_box.h"
#include "text_box.h"

#include <QVBoxLayout>

namespace ravelin {

HelpPage::HelpPage(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HelpPage"));
    auto *picture =
        named(new PictureBox(QStringLiteral(":/ravelin/connection.svg"), {440, 120}), "Picture2");
    auto *text = named(new TextBox, "HelpInfo");
    text->setText(helpText());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(text, 1);
}

} // namespace ravelin
