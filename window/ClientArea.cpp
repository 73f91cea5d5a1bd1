#include "ClientArea.h"

#include <QResizeEvent>

#include "Anchoring.h"

namespace dnl {

namespace {

// Where the core puts an anchored control, in Qt's terms.
QRect PlacedAnchored(const QRect& designed, const QSize& designedSize, const QSize& size) {
    const Rect placed = AnchoredLeftRight(
        {designed.x(), designed.y(), designed.width(), designed.height()},
        {designedSize.width(), designedSize.height()}, {size.width(), size.height()});
    return {placed.left, placed.top, placed.width, placed.height};
}

}  // namespace

ClientArea::ClientArea(const QSize& designedSize, QWidget* parent)
    : QWidget(parent), m_designedSize(designedSize) {}

void ClientArea::AnchorLeftRight(QWidget* child) {
    m_anchored.push_back({child, child->geometry()});
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const Anchored& anchored : m_anchored) {
        anchored.widget->setGeometry(
            PlacedAnchored(anchored.designed, m_designedSize, event->size()));
    }
}

}  // namespace dnl
