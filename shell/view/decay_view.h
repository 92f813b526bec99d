// The decay of one IP reading: its M channels against their window number, so a noisy or rising
// decay shows at once.
#pragma once

#include <QWidget>

#include <vector>

class DecayView : public QWidget {
    Q_OBJECT

  public:
    explicit DecayView(QWidget *parent = nullptr);
    void showChannels(const std::vector<float> &channels);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    std::vector<float> channels_;
};
