#pragma once

#include <QWidget>

namespace lumetra::gui {

// frmLogin: a borderless picture whose black parts are see-through, shown
// for 2000 ms or until a left click; then it calls onDone.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(std::function<void()> onDone);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void finish();

    QPixmap m_picture;
    std::function<void()> m_onDone;
    bool m_done = false;
};

} // namespace lumetra::gui
