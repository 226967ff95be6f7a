#pragma once

#include <QLabel>

namespace prrsim::ui {

// A small picture that reports mouse moves (with mouse tracking on) and clicks, as the compass
// pictures of the panels need: the click carries no position, the last move does.
class PictureBox : public QLabel {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent);

  signals:
    void mouseMoved(int x, int y);
    void clicked();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace prrsim::ui
