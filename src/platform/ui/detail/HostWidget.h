#pragma once
// Private: the Qt widget of a window. It turns Qt's events into the window's messages:
// paint (with erase first), stylus down/up/move/double tap, size changes, closing.
#include <QWidget>

namespace korvyn::platform {

class Window;

class HostWidget : public QWidget {
public:
    HostWidget(Window* window, QWidget* parent);
    ~HostWidget() override;

    Window* window() const { return window_; }
    void ForgetWindow() { window_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Stylus(unsigned msg, QMouseEvent* event);

    Window* window_;
};

} // namespace korvyn::platform
