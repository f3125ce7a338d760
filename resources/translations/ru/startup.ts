<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CommandLine</name>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Показывает эту справку и завершает работу.</translation>
    </message>
    <message>
        <source>Shows the program&apos;s version and exits.</source>
        <translation>Показывает версию программы и завершает работу.</translation>
    </message>
    <message>
        <source>Works in &lt;folder&gt;, made if missing: it holds fconn583.ini, and a Path_local of &quot;.&quot; means it. Without this option the program works in the current folder.</source>
        <translation>Работать в папке &lt;папка&gt; (создаётся, если её нет): в ней лежит fconn583.ini, и Path_local, равный «.», означает её. Без этого параметра программа работает в текущей папке.</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>папка</translation>
    </message>
    <message>
        <source>Works in the user&apos;s own folder (%1), made with a default fconn583.ini on first start. The menu entry starts the program so.</source>
        <translation>Работать в собственной папке пользователя (%1), которая при первом запуске создаётся вместе с fconn583.ini с настройками по умолчанию. Так программу запускает пункт меню.</translation>
    </message>
    <message>
        <source>Runs without windows and without a display: polls the instrument, writes the status file, the logs and the history, serves the metrics, and stops in order on SIGTERM or Ctrl+C. Its work folder gets a default fconn583.ini on first start. Program log lines also go to standard error.</source>
        <translation>Работать без окон и без дисплея: опрашивать прибор, писать файл состояния, журналы и историю, отдавать метрики и по SIGTERM или Ctrl+C завершаться по порядку. В рабочей папке при первом запуске создаётся fconn583.ini с настройками по умолчанию. Строки журнала программы выводятся и в стандартный поток ошибок.</translation>
    </message>
    <message>
        <source>Monitoring and control of the KSR-583 microstepper combiner synthesizer.</source>
        <translation>Контроль и управление микрошаговым синтезатором-комбинатором KSR-583.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Лишний аргумент: %1</translation>
    </message>
    <message>
        <source>Give either --workdir or --user-workdir, not both.</source>
        <translation>Укажите либо --workdir, либо --user-workdir, но не оба сразу.</translation>
    </message>
    <message>
        <source>--workdir needs a folder.</source>
        <translation>Для --workdir нужно указать папку.</translation>
    </message>
    <message>
        <source>The window needs a display, and there is none here (DISPLAY is not set). ksr583-monitor --service runs the program without windows.</source>
        <translation>Окну нужен дисплей, а его здесь нет (DISPLAY не задан). ksr583-monitor --service запускает программу без окон.</translation>
    </message>
    <message>
        <source>--service runs the program; give the history&apos;s commands without it.</source>
        <translation>--service запускает программу; команды истории указывайте без него.</translation>
    </message>
</context>
<context>
    <name>InstanceLock</name>
    <message>
        <source>The folder %1 is in use by another program.</source>
        <translation>Папку %1 занимает другая программа.</translation>
    </message>
    <message>
        <source>The folder %1 is in use by process %2 (%3) on the computer %4.</source>
        <translation>Папку %1 занимает процесс %2 (%3) на компьютере %4.</translation>
    </message>
    <message>
        <source>The folder %1 is in use by process %2 (%3).</source>
        <translation>Папку %1 занимает процесс %2 (%3).</translation>
    </message>
    <message>
        <source>Cannot write the lock file %1 in the folder %2: %3</source>
        <translation>Не удаётся записать файл блокировки %1 в папку %2: %3</translation>
    </message>
    <message>
        <source>the lock cannot be taken</source>
        <translation>блокировку не удаётся получить</translation>
    </message>
</context>
<context>
    <name>WorkFolder</name>
    <message>
        <source>Cannot work in the folder %1: it cannot be made or entered.</source>
        <translation>Невозможно работать в папке %1: её не удаётся создать или открыть.</translation>
    </message>
    <message>
        <source>Cannot write %1 in the folder %2.</source>
        <translation>Не удаётся записать %1 в папку %2.</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Запуск: %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[параметры]</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Параметры:</translation>
    </message>
</context>
<context>
    <name>HistoryCommand</name>
    <message>
        <source>Writes the stability table (OADEV, MDEV, TDEV, OHDEV with their confidence intervals) of &lt;series&gt;, offset or channel1 .. channel4, over --from .. --to into --output, and exits.</source>
        <translation>Записывает таблицу стабильности (OADEV, MDEV, TDEV, OHDEV с доверительными интервалами) ряда &lt;ряд&gt;, offset или channel1 .. channel4, за --from .. --to в --output и завершает работу.</translation>
    </message>
    <message>
        <source>series</source>
        <translation>ряд</translation>
    </message>
    <message>
        <source>The beginning of the range, ISO 8601 UTC.</source>
        <translation>Начало интервала, ISO 8601 UTC.</translation>
    </message>
    <message>
        <source>time</source>
        <translation>время</translation>
    </message>
    <message>
        <source>The end of the range, ISO 8601 UTC.</source>
        <translation>Конец интервала, ISO 8601 UTC.</translation>
    </message>
    <message>
        <source>The averaging times: octave (the default), decade or dense.</source>
        <translation>Времена усреднения: octave (по умолчанию), decade или dense.</translation>
    </message>
    <message>
        <source>spacing</source>
        <translation>шаг</translation>
    </message>
    <message>
        <source>The CSV file the stability table is written to.</source>
        <translation>Файл CSV, в который записывается таблица стабильности.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>файл</translation>
    </message>
    <message>
        <source>Imports the parameter logs in Logs/Parameters into the history, as the Options menu does, and exits.</source>
        <translation>Импортирует журналы параметров из Logs/Parameters в историю, как меню «Настройки», и завершает работу.</translation>
    </message>
    <message>
        <source>The parameter logs are not imported; the running program&apos;s Options menu imports them.</source>
        <translation>Журналы параметров не импортированы: их импортирует меню «Настройки» работающей программы.</translation>
    </message>
    <message>
        <source>Give either --export-stability or --import-parameter-logs, not both.</source>
        <translation>Укажите либо --export-stability, либо --import-parameter-logs, но не оба.</translation>
    </message>
    <message>
        <source>--from, --to, --taus and --output belong to --export-stability.</source>
        <translation>--from, --to, --taus и --output относятся к --export-stability.</translation>
    </message>
    <message>
        <source>--export-stability needs offset, channel1, channel2, channel3 or channel4, not &quot;%1&quot;.</source>
        <translation>--export-stability требует offset, channel1, channel2, channel3 или channel4, а не «%1».</translation>
    </message>
    <message>
        <source>--export-stability needs --from and --to, ISO 8601 times such as 2026-03-01T00:00:00Z.</source>
        <translation>--export-stability требует --from и --to, время ISO 8601, например 2026-03-01T00:00:00Z.</translation>
    </message>
    <message>
        <source>--to must come after --from.</source>
        <translation>--to должно быть позже --from.</translation>
    </message>
    <message>
        <source>--taus is octave, decade or dense, not &quot;%1&quot;.</source>
        <translation>--taus — это octave, decade или dense, а не «%1».</translation>
    </message>
    <message>
        <source>--export-stability needs --output and a file.</source>
        <translation>--export-stability требует --output и файл.</translation>
    </message>
    <message>
        <source>No history: %1 does not exist.</source>
        <translation>Нет истории: %1 не существует.</translation>
    </message>
    <message>
        <source>No history in %1: %2</source>
        <translation>Нет истории в %1: %2</translation>
    </message>
    <message>
        <source>No readings of %1 in %2.</source>
        <translation>Нет показаний %1 за %2.</translation>
    </message>
    <message>
        <source>Too few regular readings of %1 in %2: %3</source>
        <translation>Слишком мало регулярных показаний %1 за %2: %3</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не удаётся записать %1: %2</translation>
    </message>
    <message>
        <source>Cannot make the folder %1.</source>
        <translation>Не удаётся создать папку %1.</translation>
    </message>
</context>
</TS>
