#include "metrics/MetricsText.h"

#include <QtTest>

#include <cmath>
#include <limits>

class tst_MetricsText : public QObject
{
    Q_OBJECT

private slots:
    void labelValue_isEscaped_data();
    void labelValue_isEscaped();
    void value_isShortestExactText_data();
    void value_isShortestExactText();
    void streamedValue_writesWhatToCharsWrites_data();
    void streamedValue_writesWhatToCharsWrites();
    void render_writesHelpTypeAndSamples_leavesOutEmptyFamilies();
};

void tst_MetricsText::labelValue_isEscaped_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("plain") << "Rb 1" << "Rb 1";
    QTest::newRow("double quote") << "H \"maser\"" << "H \\\"maser\\\"";
    QTest::newRow("backslash") << "C:\\lab" << "C:\\\\lab";
    QTest::newRow("line feed") << "a\nb" << "a\\nb";
    QTest::newRow("Cyrillic stays UTF-8") << "Водородный №2" << "Водородный №2";
    QTest::newRow("all at once") << "\\\"\n" << "\\\\\\\"\\n";
}

void tst_MetricsText::labelValue_isEscaped()
{
    QFETCH(QString, raw);
    QFETCH(QString, escaped);
    QCOMPARE(QString::fromStdString(MetricsText::escapeLabelValue(raw.toStdString())), escaped);
}

void tst_MetricsText::value_isShortestExactText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("float offset keeps its digits, no float noise")
        << QString::fromStdString(MetricsText::value(1.25e-13f)) << "1.25e-13";
    QTest::newRow("float 0.1") << QString::fromStdString(MetricsText::value(0.1f)) << "0.1";
    QTest::newRow("float zero") << QString::fromStdString(MetricsText::value(0.0f)) << "0";
    QTest::newRow("NaN") << QString::fromStdString(MetricsText::value(std::nanf(""))) << "NaN";
    QTest::newRow("+Inf") << QString::fromStdString(MetricsText::value(inf)) << "+Inf";
    QTest::newRow("-Inf") << QString::fromStdString(MetricsText::value(-double(inf))) << "-Inf";
    QTest::newRow("time stamp with milliseconds")
        << QString::fromStdString(MetricsText::value(1767811503.25)) << "1767811503.25";
    QTest::newRow("counter beyond 2^53 stays exact")
        << QString::fromStdString(MetricsText::value(std::numeric_limits<quint64>::max()))
        << "18446744073709551615";
}

void tst_MetricsText::value_isShortestExactText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

// Held to this standard library's std::to_chars, which it stands in for
// where there is none.
void tst_MetricsText::streamedValue_writesWhatToCharsWrites_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("single");
    QTest::newRow("float offset") << double(1.25e-13f) << true;
    QTest::newRow("float 0.1") << double(0.1f) << true;
    QTest::newRow("float zero") << 0.0 << true;
    QTest::newRow("float 1e7: exponent is shorter") << 1e7 << true;
    QTest::newRow("float largest") << double(std::numeric_limits<float>::max()) << true;
    QTest::newRow("float smallest normal") << double(std::numeric_limits<float>::min()) << true;
    QTest::newRow("negative zero") << -0.0 << false;
    QTest::newRow("100: fixed is shorter") << 100.0 << false;
    QTest::newRow("100000: exponent is shorter") << 100000.0 << false;
    QTest::newRow("time stamp") << 1767811503.25 << false;
    QTest::newRow("ADEV") << 3.0517578125e-12 << false;
    QTest::newRow("1e-5") << 1e-5 << false;
    QTest::newRow("seventeen digits") << 0.1 + 0.2 << false;
    QTest::newRow("NaN") << std::nan("") << false;
    QTest::newRow("-Inf") << -std::numeric_limits<double>::infinity() << false;
}

void tst_MetricsText::streamedValue_writesWhatToCharsWrites()
{
    QFETCH(double, number);
    QFETCH(bool, single);
    if (single)
        QCOMPARE(QString::fromStdString(MetricsText::streamedValue(float(number))),
                 QString::fromStdString(MetricsText::value(float(number))));
    else
        QCOMPARE(QString::fromStdString(MetricsText::streamedValue(number)),
                 QString::fromStdString(MetricsText::value(number)));
}

void tst_MetricsText::render_writesHelpTypeAndSamples_leavesOutEmptyFamilies()
{
    MetricFamily up{"ksr583_up", "Line one\\two\nthree", MetricFamily::Type::Gauge, {{{}, "1"}}};
    MetricFamily none{"ksr583_synchronized", "Unknown now.", MetricFamily::Type::Gauge, {}};
    MetricFamily commands{"ksr583_commands_total", "Commands.", MetricFamily::Type::Counter,
                          {{{{"command", "set_mode"}, {"outcome", "ok"}}, "2"}}};

    QCOMPARE(QString::fromStdString(MetricsText::render({up, none, commands})),
             QStringLiteral("# HELP ksr583_up Line one\\\\two\\nthree\n"
                            "# TYPE ksr583_up gauge\n"
                            "ksr583_up 1\n"
                            "# HELP ksr583_commands_total Commands.\n"
                            "# TYPE ksr583_commands_total counter\n"
                            "ksr583_commands_total{command=\"set_mode\",outcome=\"ok\"} 2\n"));
}

QTEST_APPLESS_MAIN(tst_MetricsText)
#include "tst_metricstext.moc"
