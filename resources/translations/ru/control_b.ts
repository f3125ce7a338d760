<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AVECONTROL_command</name>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="33" />
        <source>AVE Control</source>
        <translation>Управление AVE</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="39" />
        <source>Enabled AVE Control</source>
        <translation>Управление AVE включено</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="67" />
        <source>Channel 1</source>
        <translation>Канал 1</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="80" />
        <source>Channel 2</source>
        <translation>Канал 2</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="93" />
        <source>Channel 3</source>
        <translation>Канал 3</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="106" />
        <source>Channel 4</source>
        <translation>Канал 4</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="134" />
        <source>Actual AVE</source>
        <translation>Текущее AVE</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="195" />
        <source>New AVE</source>
        <translation>Новое AVE</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.ui" line="321" />
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.cpp" line="164" />
        <source>Invalid value!</source>
        <translation>Недопустимое значение!</translation>
    </message>
    <message>
        <location filename="../../../control/AVECONTROL_command.cpp" line="168" />
        <source>AVE should be between -1.0e-9 and 1.0e-9 with step 1.0e-21.</source>
        <translation>AVE должно быть в пределах от -1.0e-9 до 1.0e-9 с шагом 1.0e-21.</translation>
    </message>
</context>
<context>
    <name>DATETIME_command</name>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="33" />
        <source>Date and Time</source>
        <translation>Дата и время</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="41" />
        <source>Time and date on computer:</source>
        <translation>Время и дата на компьютере:</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="67" />
        <source>Update</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="74" />
        <source>Time and date on device:</source>
        <translation>Время и дата в приборе:</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="108" />
        <source>Change time (date) on device</source>
        <translation>Изменить время в приборе</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="138" />
        <source>Enter a date</source>
        <translation>Ввести дату</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="145" />
        <source>Enter a shift relative 
computer time</source>
        <translation>Ввести сдвиг относительно
времени компьютера</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="161" />
        <source>New time and date:</source>
        <translation>Новые время и дата:</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="168" />
        <source>Time:</source>
        <translation>Время:</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="182" />
        <source>Date:</source>
        <translation>Дата:</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="221" />
        <source>years</source>
        <translation>лет</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="244" />
        <source>months</source>
        <translation>месяцев</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="267" />
        <source>days</source>
        <translation>дней</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="290" />
        <source>hours</source>
        <translation>часов</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="313" />
        <source>minutes</source>
        <translation>минут</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="336" />
        <source>seconds</source>
        <translation>секунд</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.ui" line="368" />
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/DATETIME_command.cpp" line="84" />
        <source>Last update: </source>
        <translation>Последнее обновление: </translation>
    </message>
</context>
<context>
    <name>FREQDIFFlim_command</name>
    <message>
        <location filename="../../../control/FREQDIFFlim_command.ui" line="33" />
        <source>Frequency Difference Limit</source>
        <translation>Предел разности частот</translation>
    </message>
    <message>
        <location filename="../../../control/FREQDIFFlim_command.ui" line="42" />
        <source>Current Value</source>
        <translation>Текущее значение</translation>
    </message>
    <message>
        <location filename="../../../control/FREQDIFFlim_command.ui" line="62" />
        <source>New Value</source>
        <translation>Новое значение</translation>
    </message>
    <message>
        <location filename="../../../control/FREQDIFFlim_command.ui" line="130" />
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/FREQDIFFlim_command.cpp" line="50" />
        <source>Frequency difference limit value should be between 1e-13 and 1e-8.</source>
        <translation>Предел разности частот должен быть в пределах от 1e-13 до 1e-8.</translation>
    </message>
</context>
<context>
    <name>JOURNAL_command</name>
    <message>
        <location filename="../../../control/JOURNAL_command.ui" line="33" />
        <source>Logs</source>
        <translation>Журнал</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.ui" line="46" />
        <source>Browse...</source>
        <translation>Обзор...</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.ui" line="55" />
        <source>Download history</source>
        <translation>Загрузить журнал</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.ui" line="79" />
        <location filename="../../../control/JOURNAL_command.cpp" line="123" />
        <source>Successfully loaded!</source>
        <translation>Успешно загружено!</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.ui" line="125" />
        <source>Clear history</source>
        <translation>Очистить журнал</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.cpp" line="37" />
        <source>Open Directory</source>
        <translation>Выбор папки</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.cpp" line="51" />
        <source>The folder %1 does not exist. 
Would you like to create it?</source>
        <translation>Папка %1 не существует. 
Создать её?</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.cpp" line="119" />
        <source>No records in the history</source>
        <translation>В журнале нет записей</translation>
    </message>
    <message>
        <location filename="../../../control/JOURNAL_command.cpp" line="127" />
        <source>Loading failed!</source>
        <translation>Ошибка загрузки!</translation>
    </message>
</context>
<context>
    <name>PPS_SYNC_command</name>
    <message>
        <location filename="../../../control/PPS_SYNC_command.ui" line="33" />
        <source>1PPS Synchronization</source>
        <translation>Синхронизация 1PPS</translation>
    </message>
    <message>
        <location filename="../../../control/PPS_SYNC_command.ui" line="42" />
        <source>Current Offset (ns)</source>
        <translation>Текущее смещение (нс)</translation>
    </message>
    <message>
        <location filename="../../../control/PPS_SYNC_command.ui" line="62" />
        <source>External 1 PPS status:</source>
        <translation>Состояние внешнего 1PPS:</translation>
    </message>
    <message>
        <location filename="../../../control/PPS_SYNC_command.ui" line="100" />
        <source>Synchronize</source>
        <translation>Синхронизировать</translation>
    </message>
    <message>
        <location filename="../../../control/PPS_SYNC_command.cpp" line="65" />
        <source>UNAVAILABLE</source>
        <translation>НЕДОСТУПЕН</translation>
    </message>
    <message>
        <location filename="../../../control/PPS_SYNC_command.cpp" line="69" />
        <source>AVAILABLE</source>
        <translation>ДОСТУПЕН</translation>
    </message>
</context>
<context>
    <name>QUAL_INTERVAL_command</name>
    <message>
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="33" />
        <source>Qualification Interval</source>
        <translation>Интервал квалификации</translation>
    </message>
    <message>
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="42" />
        <source>Channel 1:</source>
        <translation>Канал 1:</translation>
    </message>
    <message>
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="61" />
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="93" />
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="125" />
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="157" />
        <source> s</source>
        <translation> с</translation>
    </message>
    <message>
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="74" />
        <source>Channel 2:</source>
        <translation>Канал 2:</translation>
    </message>
    <message>
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="106" />
        <source>Channel 3:</source>
        <translation>Канал 3:</translation>
    </message>
    <message>
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="138" />
        <source>Channel 4:</source>
        <translation>Канал 4:</translation>
    </message>
    <message>
        <location filename="../../../control/QUAL_INTERVAL_command.ui" line="221" />
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>authentication</name>
    <message>
        <location filename="../../../dialogs/authentication.ui" line="26" />
        <source>Authentication</source>
        <translation>Аутентификация</translation>
    </message>
    <message>
        <location filename="../../../dialogs/authentication.ui" line="47" />
        <source>login</source>
        <translation>логин</translation>
    </message>
    <message>
        <location filename="../../../dialogs/authentication.ui" line="57" />
        <source>password</source>
        <translation>пароль</translation>
    </message>
    <message>
        <location filename="../../../dialogs/authentication.ui" line="78" />
        <source>Enter</source>
        <translation>Войти</translation>
    </message>
    <message>
        <location filename="../../../dialogs/authentication.cpp" line="79" />
        <source>Enter login and password!</source>
        <translation>Введите логин и пароль!</translation>
    </message>
    <message>
        <location filename="../../../dialogs/authentication.cpp" line="82" />
        <source>Data entry is not possible.
Wait </source>
        <translation>Ввод данных невозможен.
Подождите </translation>
    </message>
    <message>
        <location filename="../../../dialogs/authentication.cpp" line="119" />
        <source>Login or password are not correct
Number of attempts: </source>
        <translation>Неверный логин или пароль
Осталось попыток: </translation>
    </message>
    <message>
        <location filename="../../../dialogs/authentication.cpp" line="127" />
        <source> attempts expended.
Wait </source>
        <translation> попыток израсходовано.
Подождите </translation>
    </message>
    <message>
        <location filename="../../../dialogs/RemainingTime.cpp" line="10" />
        <source> days </source>
        <translation> дн. </translation>
    </message>
    <message>
        <location filename="../../../dialogs/RemainingTime.cpp" line="11" />
        <source> hours </source>
        <translation> ч </translation>
    </message>
    <message>
        <location filename="../../../dialogs/RemainingTime.cpp" line="12" />
        <source> minutes </source>
        <translation> мин </translation>
    </message>
    <message>
        <location filename="../../../dialogs/RemainingTime.cpp" line="13" />
        <source> seconds </source>
        <translation> с </translation>
    </message>
    <message>
        <location filename="../../../dialogs/RemainingTime.cpp" line="20" />
        <source> 0 seconds </source>
        <translation> 0 с </translation>
    </message>
</context>
</TS>
