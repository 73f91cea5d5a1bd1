#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

class QResizeEvent;

namespace dnl {

// Where a control anchored left and right only sits in a client area of `size`, given that it
// sits at `designed` in a client area of `designedSize`: its left and right margins and its height
// are kept, and its vertical centre stays at the same fraction of the client height.
QRect AnchoredLeftRight(const QRect& designed, const QSize& designedSize, const QSize& size);

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
