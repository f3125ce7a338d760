#include "StabilityPlot.h"

#include "LogAxis.h"

#include <cmath>

StabilityPlot::StabilityPlot(QWidget *parent) : QCustomPlot(parent)
{
    LogAxis::setUp(xAxis);
    LogAxis::setUp(yAxis);
    axisRect()->setupFullAxesBox(true);

    m_graph = addGraph();
    m_graph->setPen(QPen(QColor(31, 119, 180), 1.5));
    m_graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 6));
    plotLayout()->insertRow(0);
    m_title = new QCPTextElement(this, QString(), QFont(font().family(), font().pointSize(), QFont::Bold));
    plotLayout()->addElement(0, 0, m_title);
    retranslate();
}

void StabilityPlot::retranslate()
{
    xAxis->setLabel(tr("Averaging time τ, s"));
    yAxis->setLabel(tr("Overlapping Allan deviation σy(τ)"));
    replot(rpQueuedReplot);
}

void StabilityPlot::showResult(const StabilityResult &result, const QString &title)
{
    m_result = result;
    QVector<double> tau;
    QVector<double> deviation;
    for (const AllanDeviation::Point &p : result.points) {
        // A deviation of 0 (a constant series) has no place on the axis.
        if (p.deviation > 0) {
            tau << p.tau;
            deviation << p.deviation;
        }
    }
    m_graph->setData(tau, deviation, true);
    m_title->setText(title);
    LogAxis::fit(xAxis);
    LogAxis::fit(yAxis);
    replot();
}

void StabilityPlot::clearResult()
{
    showResult(StabilityResult(), QString());
}

void StabilityPlot::mouseMoveEvent(QMouseEvent *event)
{
    QCustomPlot::mouseMoveEvent(event);
    const QVector<AllanDeviation::Point> &points = m_result.points;
    if (points.isEmpty() || !axisRect()->rect().contains(event->pos())) {
        emit readout(QString());
        return;
    }
    // The nearest averaging time on the logarithmic axis.
    const double tau = xAxis->pixelToCoord(event->pos().x());
    const AllanDeviation::Point *nearest = &points.first();
    for (const AllanDeviation::Point &p : points) {
        if (std::abs(std::log(p.tau / tau)) < std::abs(std::log(nearest->tau / tau)))
            nearest = &p;
    }
    emit readout(tr("τ = %1 s   σy(τ) = %2   (%3 differences)")
                     .arg(QString::number(nearest->tau, 'g', 6), QString::number(nearest->deviation, 'g', 4))
                     .arg(nearest->terms));
}

void StabilityPlot::leaveEvent(QEvent *event)
{
    QCustomPlot::leaveEvent(event);
    emit readout(QString());
}
