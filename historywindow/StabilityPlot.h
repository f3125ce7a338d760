#pragma once

#include "CustomPlot.h"

#include "history/StabilityJob.h"

// Stability statistics against the averaging time, both axes logarithmic,
// each value with its confidence interval as an error bar; TDEV, in seconds,
// on the right axis. The title names the series and its range; the mouse
// reads out the value nearest to it.
class StabilityPlot : public QCustomPlot
{
    Q_OBJECT

public:
    explicit StabilityPlot(QWidget *parent = nullptr);

    // `title`: what was analysed, in the interface language.
    void showResult(const StabilityResult &result, const QString &title);
    void clearResult();
    const StabilityResult &result() const { return m_result; }
    void retranslate();

    static QColor colour(Deviation::Kind kind);

signals:
    void readout(const QString &text);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct Curve {
        Deviation::Kind kind;
        QCPGraph *graph;
        QCPErrorBars *bars;
    };

    void updateAxes();
    void applyNames();

    QVector<Curve> m_curves;
    QCPTextElement *m_title = nullptr;
    StabilityResult m_result;
};
