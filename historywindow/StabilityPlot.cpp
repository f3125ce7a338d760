#include "StabilityPlot.h"

#include "LogAxis.h"

#include "history/StabilityText.h"

#include <cmath>

namespace {

// How near, in pixels, a value must be to be read out.
constexpr double ReadoutPixels = 30;

}  // namespace

StabilityPlot::StabilityPlot(QWidget *parent) : QCustomPlot(parent)
{
    LogAxis::setUp(xAxis);
    LogAxis::setUp(yAxis);
    LogAxis::setUp(yAxis2);
    xAxis2->setVisible(true);
    xAxis2->setTickLabels(false);
    xAxis2->setScaleType(QCPAxis::stLogarithmic);
    xAxis2->setTicker(xAxis->ticker());
    connect(xAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), xAxis2,
            qOverload<const QCPRange &>(&QCPAxis::setRange));
    // The legend in a row of its own under the title: curves go anywhere in
    // the plot, drift sends them up to the right.
    plotLayout()->insertRow(0);
    plotLayout()->insertRow(0);
    m_title = new QCPTextElement(this, QString(), QFont(font().family(), font().pointSize(), QFont::Bold));
    plotLayout()->addElement(0, 0, m_title);
    axisRect()->insetLayout()->take(legend);
    plotLayout()->addElement(1, 0, legend);
    plotLayout()->setRowStretchFactor(1, 0.001);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setBorderPen(Qt::NoPen);
    legend->setVisible(true);
    retranslate();
}

QColor StabilityPlot::colour(Deviation::Kind kind)
{
    switch (kind) {
    case Deviation::Oadev:
    case Deviation::Adev:
        return QColor(31, 119, 180);
    case Deviation::Mdev:
        return QColor(255, 127, 14);
    case Deviation::Tdev:
        return QColor(44, 160, 44);
    case Deviation::Ohdev:
    case Deviation::Hdev:
        return QColor(214, 39, 40);
    }
    return Qt::black;
}

void StabilityPlot::retranslate()
{
    applyNames();
    replot(rpQueuedReplot);
}

void StabilityPlot::applyNames()
{
    xAxis->setLabel(tr("Averaging time τ, s"));
    yAxis->setLabel(tr("σy(τ)"));
    bool tdev = false;
    for (const Curve &c : qAsConst(m_curves)) {
        tdev = tdev || c.kind == Deviation::Tdev;
        c.graph->setName(c.kind == Deviation::Tdev ? tr("TDEV (right axis)") : StabilityText::statistic(c.kind));
    }
    yAxis2->setLabel(tdev ? tr("TDEV σx(τ), s") : QString());
}

void StabilityPlot::showResult(const StabilityResult &result, const QString &title)
{
    m_result = result;
    clearPlottables();
    m_curves.clear();
    for (const StabilityCurve &curve : result.curves) {
        QVector<double> tau, value, minus, plus;
        for (const StabilityPoint &p : curve.points) {
            // A deviation of 0 (a constant series) has no place on the axis.
            if (!(p.deviation > 0))
                continue;
            tau << p.tau;
            value << p.deviation;
            minus << (std::isfinite(p.low) ? p.deviation - p.low : 0.0);
            plus << (std::isfinite(p.high) ? p.high - p.deviation : 0.0);
        }
        QCPAxis *valueAxis = curve.kind == Deviation::Tdev ? yAxis2 : yAxis;
        QCPGraph *graph = addGraph(xAxis, valueAxis);
        const QColor c = colour(curve.kind);
        graph->setPen(QPen(c, 1.5));
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, c, c, 5));
        graph->setData(tau, value, true);
        auto *bars = new QCPErrorBars(xAxis, valueAxis);
        bars->removeFromLegend();
        bars->setDataPlottable(graph);
        bars->setData(minus, plus);
        bars->setPen(QPen(c, 1));
        bars->setWhiskerWidth(6);
        m_curves << Curve{curve.kind, graph, bars};
    }
    m_title->setText(title);
    updateAxes();
    applyNames();
    replot(rpQueuedReplot);
}

void StabilityPlot::updateAxes()
{
    bool tdev = false;
    bool other = false;
    for (const Curve &c : qAsConst(m_curves)) {
        tdev = tdev || c.kind == Deviation::Tdev;
        other = other || c.kind != Deviation::Tdev;
    }
    yAxis2->setVisible(true);
    yAxis2->setTickLabels(tdev);
    yAxis->setTickLabels(other || !tdev);
    // The error bars are plottables of their axes: the fit includes them.
    for (QCPAxis *axis : {xAxis, yAxis, yAxis2})
        LogAxis::fit(axis);
    if (!tdev)
        yAxis2->setRange(yAxis->range());
}

void StabilityPlot::clearResult()
{
    showResult(StabilityResult(), QString());
}

void StabilityPlot::mouseMoveEvent(QMouseEvent *event)
{
    QCustomPlot::mouseMoveEvent(event);
    if (!axisRect()->rect().contains(event->pos())) {
        emit readout(QString());
        return;
    }
    // The nearest value on the screen, of any statistic shown.
    double best = ReadoutPixels * ReadoutPixels;
    const StabilityPoint *nearest = nullptr;
    Deviation::Kind kind = Deviation::Oadev;
    for (const StabilityCurve &curve : m_result.curves) {
        QCPAxis *valueAxis = curve.kind == Deviation::Tdev ? yAxis2 : yAxis;
        for (const StabilityPoint &p : curve.points) {
            if (!(p.deviation > 0))
                continue;
            const double dx = xAxis->coordToPixel(p.tau) - event->pos().x();
            const double dy = valueAxis->coordToPixel(p.deviation) - event->pos().y();
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                nearest = &p;
                kind = curve.kind;
            }
        }
    }
    emit readout(nearest ? StabilityText::point(kind, *nearest, m_result.request.options.confidence) : QString());
}

void StabilityPlot::leaveEvent(QEvent *event)
{
    QCustomPlot::leaveEvent(event);
    emit readout(QString());
}
