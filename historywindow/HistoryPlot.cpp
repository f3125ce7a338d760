#include "HistoryPlot.h"

#include "HistoryLookup.h"
#include "history/HistoryRange.h"
#include "LogAxis.h"
#include "PlotLooks.h"
#include "StateBand.h"

#include "history/BucketAggregator.h"
#include "history/HistoryText.h"

#include <QCursor>
#include <QHelpEvent>
#include <QToolTip>

#include <cmath>
#include <limits>

using namespace PlotLooks;

namespace {

constexpr int ChannelCount = 4;
// How long the wheel or the mouse must rest before the range is loaded.
constexpr int RestMs = 350;
constexpr int MarkerHoverPixels = 5;
// Beyond the ends of the readings or in a gap, how near a value must be.
constexpr int ReadoutTolerancePixels = 6;
constexpr int MaxTooltipMarkers = 8;
constexpr int MaxNameLength = 22;

// The rows of the band plot: synchronisation and connection on top, then
// channel 1 to 4.
constexpr int LinkRow = 5;
int channelRow(int channel) { return LinkRow - channel; }

double seconds(qint64 ms)
{
    return double(ms) / 1000.0;
}

QString timeText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"))
        + QStringLiteral(" UTC");
}

QString number(float value)
{
    return QString::number(double(value), 'g', 6);
}

QString elided(const QString &name)
{
    return name.size() <= MaxNameLength ? name : name.left(MaxNameLength - 1) + QChar(0x2026);
}

// The value axis of a plot of named rows 1 .. `top`.
QSharedPointer<QCPAxisTickerText> labelRows(QCPAxis *axis, int top)
{
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    axis->setTicker(ticker);
    axis->setRange(0.4, top + 0.6);
    axis->grid()->setVisible(false);
    return ticker;
}

QCPLegend *insetLegend(QCPAxisRect *rect)
{
    auto *legend = new QCPLegend;
    rect->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setLayer(QStringLiteral("legend"));
    legend->setBrush(QColor(255, 255, 255, 210));
    legend->setBorderPen(QPen(QColor(190, 190, 190)));
    legend->setRowSpacing(0);
    legend->setVisible(true);
    return legend;
}

}  // namespace

HistoryPlot::HistoryPlot(QWidget *parent) : QCustomPlot(parent)
{
    for (int n = 1; n <= ChannelCount; ++n)
        m_channelNames << HistoryText::series(Series::offset(n));
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);
    m_rangeRest.setSingleShot(true);
    m_rangeRest.setInterval(RestMs);
    connect(&m_rangeRest, &QTimer::timeout, this, [this] { emit rangeChosen(shownRange()); });

    addLayer(QStringLiteral("cursor"), layer(QStringLiteral("overlay")), QCustomPlot::limAbove);
    layer(QStringLiteral("cursor"))->setMode(QCPLayer::lmBuffered);
    buildRows();
    buildBands();
    buildMarkers();
    retranslate();
}

void HistoryPlot::buildRows()
{
    // Each plot has its own legend; the default one goes with the default
    // axis rectangle.
    setAutoAddPlottableToLegend(false);
    plotLayout()->clear();
    plotLayout()->setRowSpacing(0);
    auto *margins = new QCPMarginGroup(this);
    m_timeTicker.reset(new QCPAxisTickerDateTime);
    m_timeTicker->setDateTimeSpec(Qt::UTC);
    m_timeTicker->setTickCount(8);
    // The marker plot's share holds the time axis labels as well.
    const double stretch[RowCount] = {3, 3, 3, 2.2, 3.2};
    for (int r = 0; r < RowCount; ++r) {
        auto *rect = new QCPAxisRect(this);
        m_rects[r] = rect;
        plotLayout()->addElement(r, 0, rect);
        plotLayout()->setRowStretchFactor(r, stretch[r]);
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        rect->setAutoMargins(r == Events ? QCP::msLeft | QCP::msRight | QCP::msBottom : QCP::msLeft | QCP::msRight);
        rect->setMargins(QMargins(0, 5, 0, 5));

        QCPAxis *time = rect->axis(QCPAxis::atBottom);
        time->setTicker(m_timeTicker);
        time->setTickLabels(r == Events);
        rect->axis(QCPAxis::atRight)->setVisible(true);
        rect->axis(QCPAxis::atRight)->setTickLabels(r == Output);
        rect->setRangeDrag(Qt::Horizontal);
        rect->setRangeZoom(Qt::Horizontal);
        rect->setRangeDragAxes(time, nullptr);
        rect->setRangeZoomAxes(time, nullptr);
        connect(time, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
                [this, r](const QCPRange &range) { syncTimeAxes(r, range); });

        auto *line = new QCPItemStraightLine(this);
        line->setLayer(QStringLiteral("cursor"));
        line->setClipAxisRect(rect);
        line->setPen(QPen(QColor(60, 60, 60), 0, Qt::DashLine));
        for (QCPItemPosition *p : {line->point1, line->point2}) {
            p->setAxisRect(rect);
            p->setAxes(time, rect->axis(QCPAxis::atLeft));
            p->setTypeX(QCPItemPosition::ptPlotCoords);
            p->setTypeY(QCPItemPosition::ptAxisRectRatio);
        }
        line->setVisible(false);
        m_crossHair[r] = line;
    }

    QCPAxisRect *output = m_rects[Output];
    m_series[Series::FreqOffset] = addGraph(output->axis(QCPAxis::atBottom), output->axis(QCPAxis::atLeft));
    m_series[Series::FreqTrend] = addGraph(output->axis(QCPAxis::atBottom), output->axis(QCPAxis::atRight));
    m_series[Series::FreqOffset]->setPen(QPen(Qt::black));
    m_series[Series::FreqTrend]->setPen(QPen(QColor(160, 80, 0)));
    QCPLegend *outputLegend = insetLegend(output);
    m_series[Series::FreqOffset]->addToLegend(outputLegend);
    m_series[Series::FreqTrend]->addToLegend(outputLegend);

    m_channelLegend = insetLegend(m_rects[Offsets]);
    LogAxis::setUp(m_rects[Adev]->axis(QCPAxis::atLeft));
    for (int n = 1; n <= ChannelCount; ++n) {
        for (const Series::Id s : {Series::offset(n), Series::adev(n)}) {
            QCPAxisRect *rect = m_rects[s == Series::offset(n) ? Offsets : Adev];
            m_series[s] = addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            m_series[s]->setPen(QPen(channelColour(n)));
        }
        m_series[Series::offset(n)]->addToLegend(m_channelLegend);
    }
}

void HistoryPlot::buildBands()
{
    QCPAxisRect *rect = m_rects[Bands];
    QCPAxis *rows = rect->axis(QCPAxis::atLeft);
    m_bandTicker = labelRows(rows, LinkRow);
    for (int s = 0; s < LinkStateCount; ++s)
        m_linkBands << new StateBand(rect->axis(QCPAxis::atBottom), rows, linkColour(LinkState(s)));
    for (int b = 0; b < ChannelBandCount; ++b)
        m_channelBands << new StateBand(rect->axis(QCPAxis::atBottom), rows, bandColour(ChannelBand(b)));

    m_stateLegend = new QCPLegend;
    plotLayout()->addElement(RowCount, 0, m_stateLegend);
    plotLayout()->setRowStretchFactor(RowCount, 0.001);
    m_stateLegend->setLayer(QStringLiteral("legend"));
    m_stateLegend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    m_stateLegend->setWrap(6);
    m_stateLegend->setBorderPen(Qt::NoPen);
    m_stateLegend->setVisible(true);
}

void HistoryPlot::buildMarkers()
{
    QCPAxisRect *rect = m_rects[Events];
    QCPAxis *rows = rect->axis(QCPAxis::atLeft);
    m_eventTicker = labelRows(rows, ConnectionRow);
    for (int i = 0; i < MarkerLookCount; ++i) {
        const MarkerLook &look = markerLook(i);
        QCPGraph *graph = addGraph(rect->axis(QCPAxis::atBottom), rows);
        graph->setLineStyle(QCPGraph::lsNone);
        graph->setScatterStyle(QCPScatterStyle(look.shape, look.colour, look.colour, 8));
        graph->removeFromLegend();
        m_markerGraphs << graph;
    }
}

void HistoryPlot::setChannelNames(const QStringList &names)
{
    for (int i = 0; i < ChannelCount; ++i) {
        const QString name = names.value(i).simplified();
        m_channelNames[i] = name.isEmpty() ? HistoryText::series(Series::offset(i + 1)) : name;
    }
    retranslate();
}

void HistoryPlot::retranslate()
{
    // The legend names the output's series in full; the axes only tell
    // which is which.
    m_rects[Output]->axis(QCPAxis::atLeft)->setLabel(tr("Offset"));
    m_rects[Output]->axis(QCPAxis::atRight)->setLabel(tr("Trend"));
    m_rects[Offsets]->axis(QCPAxis::atLeft)->setLabel(tr("Channel offsets"));
    m_rects[Adev]->axis(QCPAxis::atLeft)->setLabel(tr("ADEV@1s"));
    m_rects[Events]->axis(QCPAxis::atBottom)->setLabel(tr("Time, UTC"));
    m_series[Series::FreqOffset]->setName(HistoryText::series(Series::FreqOffset));
    m_series[Series::FreqTrend]->setName(HistoryText::series(Series::FreqTrend));
    for (int n = 1; n <= ChannelCount; ++n) {
        m_series[Series::offset(n)]->setName(m_channelNames.at(n - 1));
        m_series[Series::adev(n)]->setName(m_channelNames.at(n - 1));
    }
    for (int s = 0; s < LinkStateCount; ++s)
        m_linkBands[s]->setName(HistoryText::linkState(LinkState(s)));
    for (int b = 0; b < ChannelBandCount; ++b)
        m_channelBands[b]->setName(HistoryText::channelBand(ChannelBand(b)));

    m_bandTicker->clear();
    m_bandTicker->addTick(LinkRow, tr("Synchronization"));
    for (int n = 1; n <= ChannelCount; ++n)
        m_bandTicker->addTick(channelRow(n), elided(m_channelNames.at(n - 1)));
    m_eventTicker->clear();
    m_eventTicker->addTick(ConnectionRow, tr("Connection"));
    m_eventTicker->addTick(SyncRow, tr("Synchronization"));
    m_eventTicker->addTick(CommandRow, tr("Commands"));
    m_eventTicker->addTick(JournalRow, tr("Journal"));
    replot(rpQueuedReplot);
}

void HistoryPlot::showView(const HistoryView &view)
{
    m_view = view;
    QVector<double> keys;
    QVector<double> values;
    for (int s = 0; s < Series::Count; ++s) {
        BucketAggregator::linePoints(view.series[s], &keys, &values);
        // A logarithmic axis has no place for 0: the instrument's "no value".
        if (s >= Series::Adev1) {
            for (double &v : values) {
                if (!(v > 0))
                    v = std::numeric_limits<double>::quiet_NaN();
            }
        }
        m_series[s]->setData(keys, values, true);
    }
    showBands();
    showMarkers();
    setTimeRange(QCPRange(seconds(view.range.fromMs), seconds(view.range.toMs)));
    fitValueAxes();
    replot();
    // What the mouse rests on has changed under it.
    followMouse(mapFromGlobal(QCursor::pos()));
}

void HistoryPlot::showBands()
{
    QVector<QVector<StateBand::Piece>> link(LinkStateCount);
    for (const LinkInterval &i : m_view.link)
        link[int(i.state)] << StateBand::Piece{seconds(i.fromMs), seconds(i.toMs), LinkRow};
    QVector<QVector<StateBand::Piece>> channel(ChannelBandCount);
    for (int ch = 0; ch < ChannelCount; ++ch) {
        for (const ChannelInterval &i : m_view.channels[ch]) {
            if (i.state != ChannelBand::Unknown)
                channel[int(i.state)] << StateBand::Piece{seconds(i.fromMs), seconds(i.toMs), channelRow(ch + 1)};
        }
    }
    // Only the states the range holds are explained, in a fixed order.
    m_stateLegend->clearItems();
    auto fill = [this](const QVector<StateBand *> &bands, const QVector<QVector<StateBand::Piece>> &pieces) {
        for (int i = 0; i < bands.size(); ++i) {
            bands[i]->setPieces(pieces[i]);
            if (!bands[i]->isEmpty())
                bands[i]->addToLegend(m_stateLegend);
        }
    };
    fill(m_linkBands, link);
    fill(m_channelBands, channel);
}

void HistoryPlot::showMarkers()
{
    QVector<QVector<double>> keys(MarkerLookCount);
    QVector<QVector<double>> rows(MarkerLookCount);
    for (const Marker &m : m_view.markers) {
        const int look = lookOf(m);
        keys[look] << seconds(m.timeMs);
        rows[look] << markerLook(look).row;
    }
    for (int look = 0; look < MarkerLookCount; ++look)
        m_markerGraphs[look]->setData(keys[look], rows[look], true);
}

void HistoryPlot::fitValueAxes()
{
    for (QCPAxis *axis : {m_rects[Output]->axis(QCPAxis::atLeft), m_rects[Output]->axis(QCPAxis::atRight),
                          m_rects[Offsets]->axis(QCPAxis::atLeft)}) {
        axis->rescale();
        axis->scaleRange(1.1);
    }
    LogAxis::fit(m_rects[Adev]->axis(QCPAxis::atLeft));
}

TimeRange HistoryPlot::shownRange() const
{
    const QCPRange r = m_rects[Output]->axis(QCPAxis::atBottom)->range();
    return HistoryRange::fromSeconds(r.lower, r.upper);
}

int HistoryPlot::bucketsWanted() const
{
    return qBound(200, m_rects[Output]->width(), 4000);
}

void HistoryPlot::setTimeRange(const QCPRange &range)
{
    m_settingRange = true;
    m_rects[Output]->axis(QCPAxis::atBottom)->setRange(range);
    m_settingRange = false;
}

void HistoryPlot::syncTimeAxes(int from, const QCPRange &range)
{
    if (m_syncing)
        return;
    m_syncing = true;
    const TimeRange limited = HistoryRange::fromSeconds(range.lower, range.upper);
    const QCPRange kept(seconds(limited.fromMs), seconds(limited.toMs));
    for (int r = 0; r < RowCount; ++r) {
        if (r != from || kept != range)
            m_rects[r]->axis(QCPAxis::atBottom)->setRange(kept);
    }
    m_timeTicker->setDateTimeFormat(HistoryRange::tickFormat(limited.length()));
    m_syncing = false;
    if (!m_settingRange) {
        emit rangeMoving();
        m_rangeRest.start();
    }
}

// --- the mouse --------------------------------------------------------------

int HistoryPlot::rowAt(const QPoint &pos) const
{
    for (int r = 0; r < RowCount; ++r) {
        if (m_rects[r]->rect().contains(pos))
            return r;
    }
    return -1;
}

qint64 HistoryPlot::timeAt(int x) const
{
    return qint64(std::llround(m_rects[Output]->axis(QCPAxis::atBottom)->pixelToCoord(x) * 1000));
}

qint64 HistoryPlot::pixelsAsMs(int pixels) const
{
    return qAbs(timeAt(pixels) - timeAt(0));
}

void HistoryPlot::mouseMoveEvent(QMouseEvent *event)
{
    QCustomPlot::mouseMoveEvent(event);
    followMouse(event->pos());
}

void HistoryPlot::followMouse(const QPoint &pos)
{
    const int row = rowAt(pos);
    if (row < 0 || !underMouse()) {
        hideCrossHair();
        return;
    }
    const double key = m_rects[row]->axis(QCPAxis::atBottom)->pixelToCoord(pos.x());
    moveCrossHair(key);
    emit readout(readoutAt(row, qint64(std::llround(key * 1000)), pos));
}

void HistoryPlot::leaveEvent(QEvent *event)
{
    QCustomPlot::leaveEvent(event);
    hideCrossHair();
}

void HistoryPlot::hideCrossHair()
{
    for (QCPItemStraightLine *line : m_crossHair)
        line->setVisible(false);
    layer(QStringLiteral("cursor"))->replot();
    emit readout(QString());
}

void HistoryPlot::moveCrossHair(double key)
{
    for (QCPItemStraightLine *line : m_crossHair) {
        line->setVisible(true);
        line->point1->setCoords(key, 0);
        line->point2->setCoords(key, 1);
    }
    layer(QStringLiteral("cursor"))->replot();
}

bool HistoryPlot::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QCustomPlot::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QVector<int> hovered = markersNear(help->pos());
    if (hovered.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QStringList lines;
    for (int i = 0; i < hovered.size() && i < MaxTooltipMarkers; ++i) {
        const Marker &m = m_view.markers.at(hovered.at(i));
        lines << timeText(m.timeMs) + QStringLiteral("  ") + HistoryText::marker(m);
    }
    if (hovered.size() > MaxTooltipMarkers)
        lines << tr("and %1 more").arg(hovered.size() - MaxTooltipMarkers);
    QToolTip::showText(help->globalPos(), lines.join(QLatin1Char('\n')), this);
    return true;
}

QVector<int> HistoryPlot::markersNear(const QPoint &pos) const
{
    if (rowAt(pos) != Events)
        return {};
    const int row = int(std::lround(m_rects[Events]->axis(QCPAxis::atLeft)->pixelToCoord(pos.y())));
    QVector<int> hovered;
    for (int i : HistoryLookup::markersBetween(m_view.markers, timeAt(pos.x() - MarkerHoverPixels),
                                                timeAt(pos.x() + MarkerHoverPixels))) {
        if (markerLook(lookOf(m_view.markers.at(i))).row == row)
            hovered << i;
    }
    return hovered;
}

QString HistoryPlot::readoutAt(int row, qint64 ms, const QPoint &pos) const
{
    QString text = timeText(ms) + QStringLiteral("   ");
    switch (row) {
    case Output:
        return text
            + valuesAt({Series::FreqOffset, Series::FreqTrend},
                       {HistoryText::series(Series::FreqOffset), HistoryText::series(Series::FreqTrend)}, ms);
    case Offsets:
        return text + valuesAt({Series::Offset1, Series::Offset2, Series::Offset3, Series::Offset4},
                               m_channelNames, ms);
    case Adev:
        return text + valuesAt({Series::Adev1, Series::Adev2, Series::Adev3, Series::Adev4}, m_channelNames, ms);
    case Bands:
        return text + statesAt(ms);
    default:
        break;
    }
    QStringList lines;
    for (int i : markersNear(pos))
        lines << HistoryText::marker(m_view.markers.at(i));
    return text + lines.join(QStringLiteral("; "));
}

QString HistoryPlot::valuesAt(const QVector<Series::Id> &series, const QStringList &names, qint64 ms) const
{
    const qint64 tolerance = pixelsAsMs(ReadoutTolerancePixels);
    QStringList parts;
    for (int i = 0; i < series.size(); ++i) {
        const auto value = HistoryLookup::valueAt(m_view.series[series.at(i)], ms, tolerance);
        QString shown = QStringLiteral("–");
        if (value && value->min == value->max)
            shown = number(value->min);
        else if (value)
            shown = number(value->min) + QStringLiteral(" … ") + number(value->max);
        parts << names.value(i) + QStringLiteral(": ") + shown;
    }
    return parts.join(QStringLiteral("   "));
}

QString HistoryPlot::statesAt(qint64 ms) const
{
    const auto link = HistoryLookup::stateAt(m_view.link, ms);
    QStringList parts;
    parts << tr("Synchronization") + QStringLiteral(": ")
            + (link ? HistoryText::linkState(*link) : QStringLiteral("–"));
    for (int ch = 0; ch < ChannelCount; ++ch) {
        const auto band = HistoryLookup::stateAt(m_view.channels[ch], ms);
        parts << m_channelNames.at(ch) + QStringLiteral(": ")
                + HistoryText::channelBand(band.value_or(ChannelBand::Unknown));
    }
    return parts.join(QStringLiteral("   "));
}
