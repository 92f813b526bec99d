// The decay of one IP reading: its M channels against their window number, so a noisy or rising
// decay shows at once; in the QC view beside its current dipole's master curve and the decay of
// its repeat or reciprocal.
#pragma once

#include <QWidget>

#include <vector>

class DecayView : public QWidget {
    Q_OBJECT

  public:
    explicit DecayView(QWidget *parent = nullptr);
    // master and pair may be empty: not drawn.
    void showChannels(const std::vector<float> &channels, const std::vector<double> &master = {},
                      const std::vector<float> &pair = {});

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    std::vector<float> channels_, pair_;
    std::vector<double> master_;
};
