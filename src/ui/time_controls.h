#pragma once

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QObject>
#include <QPushButton>
#include <QSlider>
#include <cstdint>

namespace prrsim::ui {

// The speeds run from x1/4 to x64; each runs that many ticks per timer event (below x1, one
// tick every 2 or 4 events).
inline constexpr int kSpeedCount = 9;
inline constexpr int kNormalSpeed = 2;
// Quarter ticks per timer event at each speed.
inline constexpr int kQuarterTicks[kSpeedCount] = {1, 2, 4, 8, 16, 32, 64, 128, 256};

// What the time controls show: the run's state and the recording's length.
struct TimeShown {
    bool paused = false;
    int speed = 0;  // index into the speeds, x1/4 .. x64
    int64_t tick = 0;
    int64_t end = 0;
};

// The time controls: "Пауза", the steps, the speed buttons and "Заново" under the map, the
// timeline of the recording beside them and the menu "Время" with the same commands and their
// keys. They only ask; the main window runs the time and shows its state back through show().
class TimeControls : public QObject {
    Q_OBJECT
  public:
    // The controls are placed on `window`; the menu is added to `menuBar`.
    TimeControls(QWidget* window, QMenuBar* menuBar);

    void show(const TimeShown& shown);

  signals:
    void pauseToggled();
    void stepRequested(int64_t ticks);
    void slowerRequested();
    void fasterRequested();
    void restartRequested();
    void jumpRequested(int64_t tick);

  private:
    void createButtons(QWidget* window);
    void createTimeline(QWidget* window);
    void createMenu(QMenuBar* menuBar);

    QSlider* timeline_ = nullptr;
    QLabel* lengthLabel_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* stepTickButton_ = nullptr;
    QPushButton* stepSecondButton_ = nullptr;
    QPushButton* slowerButton_ = nullptr;
    QLabel* speedButtonLabel_ = nullptr;
    QPushButton* fasterButton_ = nullptr;
    QPushButton* restartButton_ = nullptr;
    QAction* pauseAction_ = nullptr;
    QAction* stepTickAction_ = nullptr;
    QAction* stepSecondAction_ = nullptr;
    QAction* fasterAction_ = nullptr;
    QAction* slowerAction_ = nullptr;
    QAction* restartAction_ = nullptr;
};

// A speed as shown: "×¼", "×½", "×1" … "×64".
QString speedName(int index);

}  // namespace prrsim::ui
