// Beside a dump's progress: the readings received by kind, the survey and line being received and
// a plot of that line as it fills in. A timer looks at the live view's snapshots a few times a
// second; the dump never waits for the drawing.
#pragma once

#include "live_dump.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <optional>

class QLabel;
class PlotPicture;

namespace ravelin {

class LiveDumpView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int refreshMs = 350;
    // After the dump, while the live view reads what it still holds.
    static constexpr int endingRefreshMs = 50;

    explicit LiveDumpView(QWidget *parent = nullptr);

    // Starts showing live (which outlives the view's following of it), from an empty survey.
    void follow(const LiveDump *live);
    // The dump ended: follows until the live view has read everything, shows that last
    // snapshot and stops looking. Returns at once.
    void stopFollowing();
    // Looks at the snapshot now.
    void refresh();

  private:
    void display(const LiveDump::Snapshot &snap);

    const LiveDump *live_ = nullptr;
    bool ending_ = false;
    // What the page shows: the model as bytes read, stopped, finished.
    struct Drawn {
        std::uint64_t bytes = 0;
        bool stopped = false, finished = false;
        bool operator==(const Drawn &) const = default;
    };
    std::optional<Drawn> drawn_;
    QTimer timer_;
    QLabel *counts_;
    QLabel *line_;
    PlotPicture *plot_;
};

} // namespace ravelin
