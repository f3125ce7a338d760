<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>HistoryHub</name>
    <message>
        <source>Parameter logs are being imported already.</source>
        <translation>Журналы параметров уже импортируются.</translation>
    </message>
    <message>
        <source>Importing the parameter logs in %1...</source>
        <translation>Импорт журналов параметров из %1...</translation>
    </message>
</context>
<context>
    <name>HistoryPlot</name>
    <message>
        <source>Offset</source>
        <translation>Смещение</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>Тренд</translation>
    </message>
    <message>
        <source>Channel offsets</source>
        <translation>Смещения</translation>
    </message>
    <message>
        <source>ADEV@1s</source>
        <translation>ADEV@1с</translation>
    </message>
    <message>
        <source>Time, UTC</source>
        <translation>Время, UTC</translation>
    </message>
    <message>
        <source>Synchronization</source>
        <translation>Синхронизация</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Связь</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Команды</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>Журнал</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>и ещё %1</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>History - Monitor KSR-583</source>
        <translation>История - Монитор KSR-583</translation>
    </message>
    <message>
        <source>Range:</source>
        <translation>Интервал:</translation>
    </message>
    <message>
        <source>Last hour</source>
        <translation>Последний час</translation>
    </message>
    <message>
        <source>Last 6 hours</source>
        <translation>Последние 6 часов</translation>
    </message>
    <message>
        <source>Last 24 hours</source>
        <translation>Последние 24 часа</translation>
    </message>
    <message>
        <source>Last 7 days</source>
        <translation>Последние 7 дней</translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation>Последние 30 дней</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Вся история</translation>
    </message>
    <message>
        <source>Between dates</source>
        <translation>Между датами</translation>
    </message>
    <message>
        <source>to</source>
        <translation>по</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Показать</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Экспорт CSV...</translation>
    </message>
    <message>
        <source>Save plots...</source>
        <translation>Сохранить графики...</translation>
    </message>
    <message>
        <source>Time series</source>
        <translation>Временные ряды</translation>
    </message>
    <message>
        <source>Stability</source>
        <translation>Стабильность</translation>
    </message>
    <message>
        <source>The end of the range must come after its beginning.</source>
        <translation>Конец интервала должен быть позже его начала.</translation>
    </message>
    <message>
        <source>Nothing has been recorded yet.</source>
        <translation>История пока пуста.</translation>
    </message>
    <message>
        <source>No readings in this range; the history reaches from %1.</source>
        <translation>В этом интервале нет измерений; история охватывает %1.</translation>
    </message>
    <message>
        <source>No history to show: %1</source>
        <translation>Нет истории для показа: %1</translation>
    </message>
    <message>
        <source>Export the shown range as CSV</source>
        <translation>Экспорт показанного интервала в CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>%1 readings exported to %2.</source>
        <translation>Измерений экспортировано в %2: %1.</translation>
    </message>
    <message>
        <source>Could not export to %1: %2</source>
        <translation>Не удалось экспортировать в %1: %2</translation>
    </message>
    <message>
        <source>Save the plots</source>
        <translation>Сохранение графиков</translation>
    </message>
    <message>
        <source>PNG image (*.png);;PDF document (*.pdf)</source>
        <translation>Изображение PNG (*.png);;Документ PDF (*.pdf)</translation>
    </message>
    <message>
        <source>the file cannot be written</source>
        <translation>файл не удаётся записать</translation>
    </message>
    <message>
        <source>Plots saved to %1.</source>
        <translation>Графики сохранены в %1.</translation>
    </message>
    <message>
        <source>Could not save the plots to %1: %2</source>
        <translation>Не удалось сохранить графики в %1: %2</translation>
    </message>
</context>
<context>
    <name>StabilityPlot</name>
    <message>
        <source>Averaging time τ, s</source>
        <translation>Время усреднения τ, с</translation>
    </message>
    <message>
        <source>σy(τ)</source>
        <translation>σy(τ)</translation>
    </message>
    <message>
        <source>TDEV (right axis)</source>
        <translation>TDEV (правая ось)</translation>
    </message>
    <message>
        <source>TDEV σx(τ), s</source>
        <translation>TDEV σx(τ), с</translation>
    </message>
</context>
<context>
    <name>StabilityPage</name>
    <message>
        <source>Series:</source>
        <translation>Ряд:</translation>
    </message>
    <message>
        <source>τ:</source>
        <translation>τ:</translation>
    </message>
    <message>
        <source>octaves</source>
        <translation>октавы</translation>
    </message>
    <message>
        <source>1, 2, 5</source>
        <translation>1, 2, 5</translation>
    </message>
    <message>
        <source>10 a decade</source>
        <translation>10 на декаду</translation>
    </message>
    <message>
        <source>τ0:</source>
        <translation>τ0:</translation>
    </message>
    <message>
        <source>The interval between the readings analysed: by default the one with the most time in the range</source>
        <translation>Интервал между анализируемыми показаниями: по умолчанию тот, на который приходится больше всего времени в интервале</translation>
    </message>
    <message>
        <source>The averaging times: octaves, 1, 2 and 5 in each decade, or about ten a decade</source>
        <translation>Времена усреднения: октавы, 1, 2 и 5 в каждой декаде или около десяти на декаду</translation>
    </message>
    <message>
        <source>Export table...</source>
        <translation>Экспорт таблицы...</translation>
    </message>
    <message>
        <source>Export series...</source>
        <translation>Экспорт ряда...</translation>
    </message>
    <message>
        <source>Offset of %1</source>
        <translation>Смещение: %1</translation>
    </message>
    <message>
        <source>most time</source>
        <translation>авто</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Computing the stability...</source>
        <translation>Вычисление стабильности...</translation>
    </message>
    <message>
        <source>Export the stability table as CSV</source>
        <translation>Экспорт таблицы стабильности в CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>Stability table exported to %1.</source>
        <translation>Таблица стабильности экспортирована в %1.</translation>
    </message>
    <message>
        <source>Could not export to %1: %2</source>
        <translation>Не удалось экспортировать в %1: %2</translation>
    </message>
    <message>
        <source>Export the analysed series (MJD, fractional frequency)</source>
        <translation>Экспорт анализируемого ряда (MJD, относительная частота)</translation>
    </message>
    <message>
        <source>Text files (*.txt *.dat)</source>
        <translation>Текстовые файлы (*.txt *.dat)</translation>
    </message>
</context>
</TS>
