#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

class QResizeEvent;

namespace dnl {

// A window's client area whose children sit at fixed positions, designed for one size. The
// children anchored left and right follow it when it is resized.
class ClientArea : public QWidget {
public:
    explicit ClientArea(const QSize& designedSize, QWidget* parent = nullptr);

    // Anchors `child` left and right, from the geometry it has in the designed client area.
    void AnchorLeftRight(QWidget* child);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Anchored {
        QWidget* widget;
        QRect designed;
    };

    QSize m_designedSize;
    std::vector<Anchored> m_anchored;
};

}  // namespace dnl
