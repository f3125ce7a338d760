#pragma once

#include "CustomPlot.h"

#include "history/HistoryData.h"

#include <QStringList>
#include <QTimer>

class StateBand;

// The plots of one range, one above the other on a common UTC time axis: the
// output offset and trend, the channel offsets, the ADEV@1s on a logarithmic
// axis, the state bands and the event markers. The wheel zooms and a drag
// pans the time axis of all of them together; the mouse shows a cross-hair
// and the values under it, and a marker's line when it rests on one.
class HistoryPlot : public QCustomPlot
{
    Q_OBJECT

public:
    explicit HistoryPlot(QWidget *parent = nullptr);

    void setChannelNames(const QStringList &names);
    void retranslate();

    // Draws `view` over its range; the value axes fit what it holds.
    void showView(const HistoryView &view);
    const HistoryView &view() const { return m_view; }

    // The time the axes show now, and how many buckets fill their width.
    TimeRange shownRange() const;
    int bucketsWanted() const;

signals:
    // The operator zooms or drags: what is loading for the old range is
    // no longer wanted.
    void rangeMoving();
    // The operator zoomed or dragged, and the wheel or the mouse has rested.
    void rangeChosen(TimeRange range);
    // The time and the values under the mouse, empty when it leaves.
    void readout(const QString &text);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    enum Row { Output, Offsets, Adev, Bands, Events, RowCount };

    void buildRows();
    void buildBands();
    void buildMarkers();
    void syncTimeAxes(int from, const QCPRange &range);
    void setTimeRange(const QCPRange &range);
    void fitValueAxes();
    void showBands();
    void showMarkers();
    void followMouse(const QPoint &pos);
    void moveCrossHair(double key);
    void hideCrossHair();

    int rowAt(const QPoint &pos) const;
    qint64 timeAt(int x) const;
    qint64 pixelsAsMs(int pixels) const;
    QString readoutAt(int row, qint64 ms, const QPoint &pos) const;
    QString valuesAt(const QVector<Series::Id> &series, const QStringList &names, qint64 ms) const;
    QString statesAt(qint64 ms) const;
    QVector<int> markersNear(const QPoint &pos) const;

    QCPAxisRect *m_rects[RowCount] = {};
    QCPGraph *m_series[Series::Count] = {};
    QVector<StateBand *> m_channelBands;  // by ChannelBand
    QVector<StateBand *> m_linkBands;     // by LinkState
    QVector<QCPGraph *> m_markerGraphs;
    QCPLegend *m_channelLegend = nullptr;
    QCPLegend *m_stateLegend = nullptr;
    QCPItemStraightLine *m_crossHair[RowCount] = {};
    QSharedPointer<QCPAxisTickerDateTime> m_timeTicker;
    QSharedPointer<QCPAxisTickerText> m_bandTicker;
    QSharedPointer<QCPAxisTickerText> m_eventTicker;

    QStringList m_channelNames;
    HistoryView m_view;
    bool m_syncing = false;
    bool m_settingRange = false;
    QTimer m_rangeRest;
};
