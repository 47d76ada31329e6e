#pragma once
// A picture box: a white box that shows its assigned picture and, over it, a drawing surface
// that keeps what is drawn on it for the whole run. Drawing uses the box's user scale.

#include <QFrame>
#include <QImage>

namespace desk {

class PictureBox : public QFrame {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);

    void setScaleWidth(double width) { scaleWidth_ = width; }
    void setScaleHeight(double height) { scaleHeight_ = height; }
    double scaleWidth() const { return scaleWidth_; }
    double scaleHeight() const { return scaleHeight_; }

    // The outline of a true circle, unfilled, in the default foreground colour; the radius is
    // measured along the horizontal axis. Clipped at the box's inner edges.
    void circle(double x, double y, double radius);

    // What has been drawn so far (transparent where nothing was drawn).
    const QImage& drawing() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QImage picture_;
    QImage surface_;
    double scaleWidth_ = 0;
    double scaleHeight_ = 0;
};

} // namespace desk
