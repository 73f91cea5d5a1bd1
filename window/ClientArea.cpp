#include "ClientArea.h"

#include <QResizeEvent>
#include <algorithm>

namespace dnl {

namespace {

// value * numerator / denominator, rounded half away from zero, for non-negative operands.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + denominator / 2) / denominator);
}

}  // namespace

QRect AnchoredLeftRight(const QRect& designed, const QSize& designedSize, const QSize& size) {
    const int rightMargin = designedSize.width() - (designed.x() + designed.width());
    const int width = std::max(0, size.width() - designed.x() - rightMargin);
    // The designed centre is taken as a whole pixel, rounded down (197 for the status memo).
    const int designedCentre = designed.y() + designed.height() / 2;
    const int top =
        ScaleRounded(designedCentre, size.height(), designedSize.height()) - designed.height() / 2;
    return {designed.x(), top, width, designed.height()};
}

ClientArea::ClientArea(const QSize& designedSize, QWidget* parent)
    : QWidget(parent), m_designedSize(designedSize) {}

void ClientArea::AnchorLeftRight(QWidget* child) {
    m_anchored.push_back({child, child->geometry()});
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const Anchored& anchored : m_anchored) {
        anchored.widget->setGeometry(
            AnchoredLeftRight(anchored.designed, m_designedSize, event->size()));
    }
}

}  // namespace dnl
