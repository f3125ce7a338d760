#pragma once

#include "CustomPlot.h"
#include "HistoryLoader.h"

// The overlapping Allan deviation of one series against the averaging time,
// both axes logarithmic, with the series and its range as the title. The
// mouse reads out the point nearest to it.
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

signals:
    void readout(const QString &text);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QCPGraph *m_graph = nullptr;
    QCPTextElement *m_title = nullptr;
    StabilityResult m_result;
};
