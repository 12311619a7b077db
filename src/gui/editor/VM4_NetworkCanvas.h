#pragma once

#include <QImage>
#include <QWidget>

// The drawing area of the main window. It shows the image the main window
// stretched the drawing into, and reports its size changes, the mouse's moves
// (with or without a button held) and the wheel; it draws nothing of its own
// (the drawing is the picture's business).
class TNetworkCanvas : public QWidget {
    Q_OBJECT

public:
    explicit TNetworkCanvas(QWidget* parent = nullptr);

    // The image shown, the size of the canvas; the main window paints into it.
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

Q_SIGNALS:
    void Resized();
    // The wheel's turn in eighths of a degree (120 per notch), forwards positive.
    void WheelTurned(int delta);
    // The mouse moved to canvas pixel (x, y), with or without the left button held.
    void MouseMoved(int x, int y, bool leftHeld);
    // A button went down or up at canvas pixel (x, y).
    void MousePressed(Qt::MouseButton button, int x, int y);
    void MouseReleased(Qt::MouseButton button, int x, int y);
    // A key pressed while the drawing has the focus; `text` is what it types.
    void KeyPressed(int key, Qt::KeyboardModifiers modifiers, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage image_;
};
