// Beside a dump's progress: the readings received by kind, the survey and line being received and
// a plot of that line as it fills in. A timer looks at the live view's snapshots a few times a
// second; the dump never waits for the drawing.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class PlotPicture;

namespace ravelin {

class LiveDump;

class LiveDumpView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int refreshMs = 350;

    explicit LiveDumpView(QWidget *parent = nullptr);

    // Starts showing live (which outlives the view's following of it), from an empty survey.
    void follow(const LiveDump *live);
    // The dump ended: shows its last snapshot and stops looking.
    void stopFollowing();
    // Looks at the snapshot now.
    void refresh();

  private:
    const LiveDump *live_ = nullptr;
    QTimer timer_;
    QLabel *counts_;
    QLabel *line_;
    PlotPicture *plot_;
};

} // namespace ravelin
