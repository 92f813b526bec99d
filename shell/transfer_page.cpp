#include "transfer_page.h"

#include "page_parts.h"
#include "progress_indicator.h"

#include <QHBoxLayout>

namespace ravelin {

QHBoxLayout *TransferPage::makeProgressRow(const char *progressName) {
    progress_ = named(new ProgressIndicator, progressName);
    progressRow_ = new QHBoxLayout;
    progressRow_->addWidget(progress_, 1);
    return progressRow_;
}

} // namespace ravelin
