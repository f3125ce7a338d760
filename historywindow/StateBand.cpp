#include "StateBand.h"

namespace {

// The share of a row's height a band fills, so that rows stay apart.
constexpr double BandHeight = 0.7;

}  // namespace

StateBand::StateBand(QCPAxis *keyAxis, QCPAxis *valueAxis, const QColor &colour)
    : QCPAbstractPlottable(keyAxis, valueAxis)
{
    setPen(Qt::NoPen);
    setBrush(colour);
    setSelectable(QCP::stNone);
}

void StateBand::setPieces(QVector<Piece> pieces)
{
    m_pieces = std::move(pieces);
}

double StateBand::selectTest(const QPointF &, bool, QVariant *) const
{
    return -1;
}

QCPRange StateBand::getKeyRange(bool &foundRange, QCP::SignDomain) const
{
    foundRange = !m_pieces.isEmpty();
    if (!foundRange)
        return {};
    QCPRange range(m_pieces.first().fromSec, m_pieces.first().toSec);
    for (const Piece &p : m_pieces)
        range.expand(QCPRange(p.fromSec, p.toSec));
    return range;
}

QCPRange StateBand::getValueRange(bool &foundRange, QCP::SignDomain, const QCPRange &) const
{
    foundRange = !m_pieces.isEmpty();
    if (!foundRange)
        return {};
    QCPRange range(m_pieces.first().row, m_pieces.first().row);
    for (const Piece &p : m_pieces)
        range.expand(p.row);
    return {range.lower - 0.5, range.upper + 0.5};
}

void StateBand::draw(QCPPainter *painter)
{
    QCPAxis *key = keyAxis();
    QCPAxis *value = valueAxis();
    if (!key || !value)
        return;
    const QCPRange visible = key->range();
    painter->setPen(Qt::NoPen);
    painter->setBrush(brush());
    for (const Piece &p : m_pieces) {
        if (p.toSec < visible.lower || p.fromSec > visible.upper)
            continue;
        double left = key->coordToPixel(qMax(p.fromSec, visible.lower));
        double right = key->coordToPixel(qMin(p.toSec, visible.upper));
        // However short, a state stays visible.
        if (right - left < 1)
            right = left + 1;
        const double top = value->coordToPixel(p.row + BandHeight / 2);
        const double bottom = value->coordToPixel(p.row - BandHeight / 2);
        painter->drawRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
    }
}

void StateBand::drawLegendIcon(QCPPainter *painter, const QRectF &rect) const
{
    painter->setPen(QPen(Qt::darkGray));
    painter->setBrush(brush());
    painter->drawRect(rect.adjusted(2, 2, -2, -2));
}
