#pragma once

#include <QColor>
#include <QString>
#include <QVector>

#include "CustomPlot.h"

// One state drawn as bars across the rows of a band plot: every interval of
// that state in any row, in one colour. A state per plottable gives each its
// entry in the legend.
class StateBand : public QCPAbstractPlottable
{
    Q_OBJECT

public:
    struct Piece {
        double fromSec = 0;
        double toSec = 0;
        int row = 0;  // the value axis position of the band's middle
    };

    StateBand(QCPAxis *keyAxis, QCPAxis *valueAxis, const QColor &colour);

    void setPieces(QVector<Piece> pieces);
    bool isEmpty() const { return m_pieces.isEmpty(); }

    double selectTest(const QPointF &pos, bool onlySelectable, QVariant *details = nullptr) const override;
    QCPRange getKeyRange(bool &foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool &foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange &inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter *painter) override;
    void drawLegendIcon(QCPPainter *painter, const QRectF &rect) const override;

private:
    QVector<Piece> m_pieces;
};
