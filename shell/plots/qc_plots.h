// The quality control's plots of one IP profile, drawn into any paint device like the others: the
// error model (each pair's |e| against its mean |R| on log-log axes, with the power and linear
// laws fitted to them) and the histogram of the pairs' relative errors.
#pragma once

#include "error_model.h"
#include "pairs.h"

#include <QRectF>

#include <vector>

class QPainter;

namespace plots {

void draw_error_model(QPainter &painter, const QRectF &area, const std::vector<qc::Pair> &pairs,
                      const qc::ErrorModel &model);

void draw_pair_errors(QPainter &painter, const QRectF &area, const std::vector<qc::Pair> &pairs);

} // namespace plots
