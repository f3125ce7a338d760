<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>HistoryStore</name>
    <message>
        <source>History is recorded again; nothing was lost meanwhile.</source>
        <translation>История снова записывается; за перерыв ничего не потеряно.</translation>
    </message>
    <message>
        <source>History is recorded again; %1 entries could not be stored meanwhile.</source>
        <translation>История снова записывается; за перерыв не сохранено записей: %1.</translation>
    </message>
    <message>
        <source>History is paused: %1 cannot be opened (%2). It is tried again within a minute, and what comes meanwhile is kept.</source>
        <translation>История приостановлена: не удаётся открыть %1 (%2). Повторная попытка в течение минуты; всё, что поступит за это время, сохраняется.</translation>
    </message>
    <message>
        <source>History is paused: %1 is not a history database. It is tried again within a minute, and what comes meanwhile is kept.</source>
        <translation>История приостановлена: %1 не является базой истории. Повторная попытка в течение минуты; всё, что поступит за это время, сохраняется.</translation>
    </message>
    <message>
        <source>History is off: %1 was written by a newer version of the program (schema %2).</source>
        <translation>История отключена: %1 записан более новой версией программы (схема %2).</translation>
    </message>
    <message>
        <source>History is paused: writing %1 failed (%2). It is tried again within a minute, and what comes meanwhile is kept.</source>
        <translation>История приостановлена: ошибка записи в %1 (%2). Повторная попытка в течение минуты; всё, что поступит за это время, сохраняется.</translation>
    </message>
    <message>
        <source>History is losing entries: its queue is full until %1 can be written again.</source>
        <translation>История теряет записи: очередь заполнена, пока %1 снова не станет доступен для записи.</translation>
    </message>
</context>
<context>
    <name>HistoryText</name>
    <message>
        <source>No connection</source>
        <translation>Нет связи</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Подключено</translation>
    </message>
    <message>
        <source>Initial signal estimation</source>
        <translation>Начальная оценка сигналов</translation>
    </message>
    <message>
        <source>Synchronization OK</source>
        <translation>Синхронизация в норме</translation>
    </message>
    <message>
        <source>No synchronization</source>
        <translation>Нет синхронизации</translation>
    </message>
    <message>
        <source>From a parameter log</source>
        <translation>Из журнала параметров</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Неизвестно</translation>
    </message>
    <message>
        <source>No signal</source>
        <translation>Нет сигнала</translation>
    </message>
    <message>
        <source>Not in the group</source>
        <translation>Не в группе</translation>
    </message>
    <message>
        <source>Signal error</source>
        <translation>Ошибка сигнала</translation>
    </message>
    <message>
        <source>Qualifying</source>
        <translation>Квалификация</translation>
    </message>
    <message>
        <source>In the group</source>
        <translation>В группе</translation>
    </message>
    <message>
        <source>Reference</source>
        <translation>Опорный</translation>
    </message>
    <message>
        <source>Backup 1</source>
        <translation>Резерв 1</translation>
    </message>
    <message>
        <source>Backup 2</source>
        <translation>Резерв 2</translation>
    </message>
    <message>
        <source>Backup 3</source>
        <translation>Резерв 3</translation>
    </message>
    <message>
        <source>Not in the group or no signal</source>
        <translation>Не в группе или нет сигнала</translation>
    </message>
    <message>
        <source>Other state</source>
        <translation>Другое состояние</translation>
    </message>
    <message>
        <source>Frequency offset</source>
        <translation>Смещение частоты</translation>
    </message>
    <message>
        <source>Frequency trend</source>
        <translation>Тренд частоты</translation>
    </message>
    <message>
        <source>Offset, channel %1</source>
        <translation>Смещение, канал %1</translation>
    </message>
    <message>
        <source>ADEV@1s, channel %1</source>
        <translation>ADEV@1с, канал %1</translation>
    </message>
    <message>
        <source>Channel list</source>
        <translation>Список каналов</translation>
    </message>
    <message>
        <source>Synchronization on or off</source>
        <translation>Включение или выключение синхронизации</translation>
    </message>
    <message>
        <source>Phase correction</source>
        <translation>Коррекция фазы</translation>
    </message>
    <message>
        <source>Smooth correction</source>
        <translation>Плавная коррекция</translation>
    </message>
    <message>
        <source>Frequency difference limit</source>
        <translation>Предел разности частот</translation>
    </message>
    <message>
        <source>1PPS synchronization</source>
        <translation>Синхронизация 1PPS</translation>
    </message>
    <message>
        <source>1PPS offset reading</source>
        <translation>Чтение смещения 1PPS</translation>
    </message>
    <message>
        <source>Date and time reading</source>
        <translation>Чтение даты и времени</translation>
    </message>
    <message>
        <source>Date and time setting</source>
        <translation>Установка даты и времени</translation>
    </message>
    <message>
        <source>Qualification intervals</source>
        <translation>Интервалы квалификации</translation>
    </message>
    <message>
        <source>Journal download</source>
        <translation>Загрузка журнала</translation>
    </message>
    <message>
        <source>Journal clearing</source>
        <translation>Очистка журнала</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Режим</translation>
    </message>
    <message>
        <source>Channel in or out of the group</source>
        <translation>Включение или исключение канала</translation>
    </message>
    <message>
        <source>Reference channel</source>
        <translation>Опорный канал</translation>
    </message>
    <message>
        <source>AVE values</source>
        <translation>Значения AVE</translation>
    </message>
    <message>
        <source>AVE reading</source>
        <translation>Чтение AVE</translation>
    </message>
    <message>
        <source>AVE permission reading</source>
        <translation>Чтение разрешения AVE</translation>
    </message>
    <message>
        <source>AVE on or off</source>
        <translation>Включение или выключение AVE</translation>
    </message>
    <message>
        <source>Device information</source>
        <translation>Информация о приборе</translation>
    </message>
    <message>
        <source>Frequency difference limit reading</source>
        <translation>Чтение предела разности частот</translation>
    </message>
    <message>
        <source>Command %1</source>
        <translation>Команда %1</translation>
    </message>
    <message>
        <source>done</source>
        <translation>выполнена</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>не выполнена</translation>
    </message>
    <message>
        <source>no outcome</source>
        <translation>без результата</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>Подключено к %1</translation>
    </message>
    <message>
        <source>Connection lost</source>
        <translation>Связь потеряна</translation>
    </message>
    <message>
        <source>Synchronization lost</source>
        <translation>Синхронизация потеряна</translation>
    </message>
    <message>
        <source>Synchronization restored</source>
        <translation>Синхронизация восстановлена</translation>
    </message>
    <message>
        <source>Reference changed from channel %1 to channel %2</source>
        <translation>Опорный сигнал сменился с канала %1 на канал %2</translation>
    </message>
    <message>
        <source>Command: %1, %2</source>
        <translation>Команда: %1, %2</translation>
    </message>
    <message>
        <source>Journal record %1 (%2): %3, %4</source>
        <translation>Запись журнала %1 (%2): %3, %4</translation>
    </message>
    <message>
        <source>History not recorded here (%1 entries lost)</source>
        <translation>История здесь не записана (потеряно записей: %1)</translation>
    </message>
</context>
<context>
    <name>ParameterLogImporter</name>
    <message>
        <source>Parameter logs could not be imported: %1</source>
        <translation>Не удалось импортировать журналы параметров: %1</translation>
    </message>
    <message>
        <source>Parameter logs imported: %1 rows from %2 files; skipped: %3 unreadable, %4 already in the history, %5 without a reading, %6 older than the history keeps.</source>
        <translation>Журналы параметров импортированы: строк %1 из файлов: %2; пропущено: нечитаемых %3, уже в истории %4, без показаний %5, старше срока хранения %6.</translation>
    </message>
</context>
<context>
    <name>StabilityText</name>
    <message>
        <source>Allan deviation</source>
        <translation>Девиация Аллана</translation>
    </message>
    <message>
        <source>Overlapping Allan deviation</source>
        <translation>Девиация Аллана с перекрытием</translation>
    </message>
    <message>
        <source>Modified Allan deviation</source>
        <translation>Модифицированная девиация Аллана</translation>
    </message>
    <message>
        <source>Time deviation</source>
        <translation>Девиация времени</translation>
    </message>
    <message>
        <source>Hadamard deviation</source>
        <translation>Девиация Адамара</translation>
    </message>
    <message>
        <source>Overlapping Hadamard deviation</source>
        <translation>Девиация Адамара с перекрытием</translation>
    </message>
    <message>
        <source>white PM</source>
        <translation>белый шум фазы</translation>
    </message>
    <message>
        <source>flicker PM</source>
        <translation>фликкер-шум фазы</translation>
    </message>
    <message>
        <source>white FM</source>
        <translation>белый шум частоты</translation>
    </message>
    <message>
        <source>flicker FM</source>
        <translation>фликкер-шум частоты</translation>
    </message>
    <message>
        <source>random walk FM</source>
        <translation>случайное блуждание частоты</translation>
    </message>
    <message>
        <source>flicker walk FM</source>
        <translation>фликкер-блуждание частоты</translation>
    </message>
    <message>
        <source>random run FM</source>
        <translation>случайный бег частоты</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 мин</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 ч</translation>
    </message>
    <message>
        <source>%1 d</source>
        <translation>%1 сут</translation>
    </message>
    <message>
        <source>No readings of this series in the range.</source>
        <translation>В этом интервале нет показаний этого ряда.</translation>
    </message>
    <message>
        <source>%1 for %2</source>
        <translation>%1 в течение %2</translation>
    </message>
    <message>
        <source>τ0 = %1</source>
        <translation>τ0 = %1</translation>
    </message>
    <message>
        <source>chosen</source>
        <translation>выбран</translation>
    </message>
    <message>
        <source>the interval with the most time</source>
        <translation>интервал с наибольшим временем</translation>
    </message>
    <message>
        <source>also %1</source>
        <translation>также %1</translation>
    </message>
    <message>
        <source>runs: %1</source>
        <translation>серий: %1</translation>
    </message>
    <message>
        <source>readings used: %1</source>
        <translation>использовано показаний: %1</translation>
    </message>
    <message>
        <source>no signal %1</source>
        <translation>нет сигнала %1</translation>
    </message>
    <message>
        <source>other interval %1</source>
        <translation>другой интервал %1</translation>
    </message>
    <message>
        <source>alone between gaps %1</source>
        <translation>одиночные между пропусками %1</translation>
    </message>
    <message>
        <source>excluded: %1</source>
        <translation>исключено: %1</translation>
    </message>
    <message>
        <source>too few regular readings for a statistic</source>
        <translation>слишком мало регулярных показаний для статистики</translation>
    </message>
    <message>
        <source>intervals at %1 % confidence</source>
        <translation>доверительные интервалы %1 %</translation>
    </message>
    <message>
        <source>σx = %1 s</source>
        <translation>σx = %1 с</translation>
    </message>
    <message>
        <source>σy = %1</source>
        <translation>σy = %1</translation>
    </message>
    <message>
        <source>%1 (assumed)</source>
        <translation>%1 (принят)</translation>
    </message>
    <message>
        <source>%1   τ = %2   %3   %4 %: %5 … %6   %7, %8 terms</source>
        <translation>%1   τ = %2   %3   %4 %: %5 … %6   %7, членов: %8</translation>
    </message>
</context>
</TS>
