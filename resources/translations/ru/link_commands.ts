<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>DeviceCommands</name>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="20"/>
        <source>Command SET_MASTER_CHAN OK</source>
        <translation>Команда SET_MASTER_CHAN выполнена</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="21"/>
        <source>Command SET_MASTER_CHAN Error. There is no PLL</source>
        <translation>Команда SET_MASTER_CHAN: ошибка. Нет ФАПЧ</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="22"/>
        <source>Command SET_MASTER_CHAN Error. There is no Reservation mode</source>
        <translation>Команда SET_MASTER_CHAN: ошибка. Нет режима резервирования</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="23"/>
        <source>Command SET_MASTER_CHAN Error. The initial analysis of signals isn&apos;t ended</source>
        <translation>Команда SET_MASTER_CHAN: ошибка. Начальный анализ сигналов не закончен</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="25"/>
        <source>Command SET_MASTER_CHAN Error. The new master isn&apos;t a reserve signal</source>
        <translation>Команда SET_MASTER_CHAN: ошибка. Новый ведущий сигнал не является резервным</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="27"/>
        <source>Command SET_MASTER_CHAN Error. There is no master</source>
        <translation>Команда SET_MASTER_CHAN: ошибка. Нет ведущего сигнала</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="28"/>
        <source>Command SET_MASTER_CHAN Error. Numbers of the old and new master are equal</source>
        <translation>Команда SET_MASTER_CHAN: ошибка. Номера старого и нового ведущего сигнала совпадают</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="30"/>
        <source>Command SET_MASTER_CHAN Error. Error in number of  a channel.</source>
        <translation>Команда SET_MASTER_CHAN: ошибка. Ошибка в номере канала.</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="81"/>
        <source>New offset applied: </source>
        <translation>Новое смещение установлено: </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="81"/>
        <source>New offset command failed!</source>
        <translation>Команда установки смещения не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="85"/>
        <source>New frequency drift applied: </source>
        <translation>Новый дрейф частоты установлен: </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="86"/>
        <source>New frequency drift command failed!</source>
        <translation>Команда установки дрейфа частоты не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="89"/>
        <source>New limit applied: </source>
        <translation>Новый предел установлен: </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="90"/>
        <source>New limit command failed!</source>
        <translation>Команда установки предела не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="125"/>
        <source>Phase correction is finished</source>
        <translation>Коррекция фазы завершена</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="158"/>
        <source>setChannels Ref_Chan = </source>
        <translation>setChannels опорный канал = </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="161"/>
        <source>setChannels BackUp1_Chan = </source>
        <translation>setChannels резервный канал 1 = </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="162"/>
        <source>setChannels BackUp2_Chan = </source>
        <translation>setChannels резервный канал 2 = </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="163"/>
        <source>setChannels BackUp3_Chan = </source>
        <translation>setChannels резервный канал 3 = </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="205"/>
        <source>OK include channel</source>
        <translation>Включён канал</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="207"/>
        <source>Command failed! include channel</source>
        <translation>Команда не выполнена! Включение канала</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="216"/>
        <source>Command failed! remove channel</source>
        <translation>Команда не выполнена! Исключение канала</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="224"/>
        <source>Channel status has been changed</source>
        <translation>Состояние каналов изменено</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="226"/>
        <source>Channel status command failed!</source>
        <translation>Команда изменения состояния каналов не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="235"/>
        <location filename="../../../link/DeviceCommands.cpp" line="325"/>
        <location filename="../../../link/DeviceCommands.cpp" line="333"/>
        <source>Command failed!</source>
        <translation>Команда не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="236"/>
        <source>Sync command failed!</source>
        <translation>Команда синхронизации не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="241"/>
        <source>Command has been applied</source>
        <translation>Команда выполнена</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="243"/>
        <source>Sync command has been applied</source>
        <translation>Команда синхронизации выполнена</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="254"/>
        <source>Command SET_MODE OK</source>
        <translation>Команда SET_MODE выполнена</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="306"/>
        <source>Phase correction is started</source>
        <translation>Коррекция фазы начата</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="323"/>
        <source>Command applied!</source>
        <translation>Команда выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="339"/>
        <source>Syncronization is finished, delay is </source>
        <translation>Синхронизация завершена, задержка </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="339"/>
        <source> ns</source>
        <translation> нс</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="342"/>
        <source>Syncronization failed!</source>
        <translation>Синхронизация не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="344"/>
        <source>External 1PPS is not available!</source>
        <translation>Внешний сигнал 1PPS отсутствует!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="365"/>
        <source>Time command failed!</source>
        <translation>Команда установки времени не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="375"/>
        <source>New date applied: </source>
        <translation>Новая дата установлена: </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="376"/>
        <source>New time applied: </source>
        <translation>Новое время установлено: </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="378"/>
        <source>Date: </source>
        <translation>Дата: </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="379"/>
        <source>Time: </source>
        <translation>Время: </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="408"/>
        <source>New AVE OK </source>
        <translation>Новые AVE установлены </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="409"/>
        <source>New AVE NOT OK </source>
        <translation>Новые AVE не приняты </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="409"/>
        <source>New AVE ERROR </source>
        <translation>Новые AVE: ошибка </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="419"/>
        <source>Get AVE NOT OK </source>
        <translation>Чтение AVE: ответ неверен </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="424"/>
        <source>(Get AVE ERROR port-&gt;bytesAvailable() = </source>
        <translation>(Чтение AVE: ошибка, port-&gt;bytesAvailable() = </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="430"/>
        <source>Get AVE ERROR  bu</source>
        <translation>Чтение AVE: ошибка  bu</translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="439"/>
        <source>Get AVE OK </source>
        <translation>Чтение AVE выполнено </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="441"/>
        <source>AVE %1 </source>
        <translation>AVE %1 </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="455"/>
        <source>Read AVE permission OK </source>
        <translation>Разрешение AVE прочитано </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="456"/>
        <source>Read AVE permission NOT OK </source>
        <translation>Разрешение AVE: ответ неверен </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="456"/>
        <source>Read AVE permission ERROR </source>
        <translation>Разрешение AVE: ошибка </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="463"/>
        <source>New AVE stat OK </source>
        <translation>Новое состояние AVE установлено </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="463"/>
        <source>New AVE stat NOT OK </source>
        <translation>Новое состояние AVE не принято </translation>
    </message>
    <message>
        <location filename="../../../link/DeviceCommands.cpp" line="464"/>
        <source>New AVE stat ERROR </source>
        <translation>Новое состояние AVE: ошибка </translation>
    </message>
</context>
<context>
    <name>JournalDownload</name>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="35"/>
        <source>The device reports %1 journal records; only the first %2 are downloaded</source>
        <translation>Прибор сообщает о %1 записях журнала; загружаются только первые %2</translation>
    </message>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="58"/>
        <source>No records in the history</source>
        <translation>В журнале нет записей</translation>
    </message>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="61"/>
        <source>History has been downloaded</source>
        <translation>Журнал загружен</translation>
    </message>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="63"/>
        <source>Journal records not received: %1 of %2; they are left out of the file</source>
        <translation>Не получено записей журнала: %1 из %2; в файл они не включены</translation>
    </message>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="70"/>
        <source>Cannot write the journal file </source>
        <translation>Не удалось записать файл журнала </translation>
    </message>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="87"/>
        <source>Loading failed!</source>
        <translation>Загрузка не выполнена!</translation>
    </message>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="93"/>
        <source>History cleared successfully</source>
        <translation>Журнал успешно очищен</translation>
    </message>
    <message>
        <location filename="../../../link/JournalDownload.cpp" line="95"/>
        <source>Clear history failed!</source>
        <translation>Очистка журнала не выполнена!</translation>
    </message>
</context>
<context>
    <name>JournalFile</name>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="11"/>
        <source>Switching on unit</source>
        <translation>Включение прибора</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="12"/>
        <source>Testing signal 1</source>
        <translation>Проверка сигнала 1</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="13"/>
        <source>Testing signal 2</source>
        <translation>Проверка сигнала 2</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="14"/>
        <source>Testing signal 3</source>
        <translation>Проверка сигнала 3</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="15"/>
        <source>Testing signal 4</source>
        <translation>Проверка сигнала 4</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="16"/>
        <source>PLL - on</source>
        <translation>ФАПЧ включена</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="17"/>
        <source>Signal 1 in use</source>
        <translation>Сигнал 1 используется</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="18"/>
        <source>Signal 2 in use</source>
        <translation>Сигнал 2 используется</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="19"/>
        <source>Signal 3 in use</source>
        <translation>Сигнал 3 используется</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="20"/>
        <source>Signal 4 in use</source>
        <translation>Сигнал 4 используется</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="21"/>
        <source>Testing is finished</source>
        <translation>Проверка завершена</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="22"/>
        <source>Signal 1 is removed</source>
        <translation>Сигнал 1 исключён</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="23"/>
        <source>Signal 2 is removed</source>
        <translation>Сигнал 2 исключён</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="24"/>
        <source>Signal 3 is removed</source>
        <translation>Сигнал 3 исключён</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="25"/>
        <source>Signal 4 is removed</source>
        <translation>Сигнал 4 исключён</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="26"/>
        <source>PLL - off</source>
        <translation>ФАПЧ выключена</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="27"/>
        <source>Freq. offset is changed</source>
        <translation>Изменено смещение частоты</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="28"/>
        <source>DAC2 is changed</source>
        <translation>Изменён ЦАП2</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="29"/>
        <source>DAC1 is changed</source>
        <translation>Изменён ЦАП1</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="30"/>
        <source>Date/Time is changed (before)</source>
        <translation>Изменены дата/время (до)</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="31"/>
        <source>Date/Time is changed (after)</source>
        <translation>Изменены дата/время (после)</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="32"/>
        <source>DC power is connected</source>
        <translation>Подключено питание пост. тока</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="33"/>
        <source>DC power is disconnected</source>
        <translation>Отключено питание пост. тока</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="34"/>
        <source>DC power in use</source>
        <translation>Питание от пост. тока</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="35"/>
        <source>AC power in use</source>
        <translation>Питание от сети перем. тока</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="36"/>
        <source>Band 10000 Hz - on</source>
        <translation>Включена полоса 10000 Гц</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="37"/>
        <source>Band 10 Hz - on</source>
        <translation>Включена полоса 10 Гц</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="38"/>
        <source>Band 3 Hz - on</source>
        <translation>Включена полоса 3 Гц</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="39"/>
        <source>Phase jump exceeds limit</source>
        <translation>Скачок фазы превысил предел</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="40"/>
        <source>Data error</source>
        <translation>Ошибка данных</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="41"/>
        <source>1PPS synch. - start</source>
        <translation>Синхр. 1PPS - начало</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="42"/>
        <source>1PPS synch. - finish</source>
        <translation>Синхр. 1PPS - конец</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="43"/>
        <source>Freq. trend value is changed</source>
        <translation>Изменён тренд частоты</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="44"/>
        <source>Limit on freq. diff. changed</source>
        <translation>Изменён предел разности частот</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="45"/>
        <source>PLL parameters are changed</source>
        <translation>Изменены параметры ФАПЧ</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="46"/>
        <source>Freq. sample is removed</source>
        <translation>Отсчёт частоты отброшен</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="47"/>
        <source>Change weight coeffs</source>
        <translation>Изменение весовых коэфф.</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="48"/>
        <source>Weight coeffs error</source>
        <translation>Ошибка весовых коэфф.</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="49"/>
        <source>Change 10ms freq. limits</source>
        <translation>Изм. 10 мс пределов частоты</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="50"/>
        <source>Change priorities</source>
        <translation>Изменение приоритетов</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="51"/>
        <source>Priorities error</source>
        <translation>Ошибка приоритетов</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="52"/>
        <source>Samp. filtering is ON</source>
        <translation>Фильтрация отсчётов вкл.</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="53"/>
        <source>Samp. filtering is OFF</source>
        <translation>Фильтрация отсчётов выкл.</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="54"/>
        <source>Set Tau for filter</source>
        <translation>Установка Tau фильтра</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="55"/>
        <source>Set interval of diff-tion</source>
        <translation>Установка интервала дифф-ния</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="56"/>
        <source>TS sync. error</source>
        <translation>Ошибка синхр. шкалы времени</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="57"/>
        <source>Start phase correction</source>
        <translation>Начало коррекции фазы</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="58"/>
        <source>Stop phase correction</source>
        <translation>Конец коррекции фазы</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="59"/>
        <source>Phase  corr. error</source>
        <translation>Ошибка коррекции фазы</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="60"/>
        <source>Zero phase moment</source>
        <translation>Момент нулевой фазы</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="61"/>
        <source>Change Mode</source>
        <translation>Смена режима</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="62"/>
        <source>Invasion enable</source>
        <translation>Вмешательство разрешено</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="63"/>
        <source>Invasion disable</source>
        <translation>Вмешательство запрещено</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="64"/>
        <source>Change master signal</source>
        <translation>Смена ведущего сигнала</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="68"/>
        <source>Unknown reason</source>
        <translation>Причина неизвестна</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="69"/>
        <source>User from front panel</source>
        <translation>Оператор с передней панели</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="70"/>
        <source>Remote PC</source>
        <translation>Удалённый компьютер</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="71"/>
        <source>Unit local program</source>
        <translation>Программа прибора</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="72"/>
        <source>Freq. diff. exceeds lim</source>
        <translation>Разность частот выше предела</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="73"/>
        <source>ERROR sign. detected</source>
        <translation>Обнаружен сигнал ОШИБКА</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="74"/>
        <source>No input signal</source>
        <translation>Нет входного сигнала</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="75"/>
        <source>Voltmeter measuring</source>
        <translation>Измерение вольтметром</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="76"/>
        <source>DAC1 error</source>
        <translation>Ошибка ЦАП1</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="77"/>
        <source>DAC writing error</source>
        <translation>Ошибка записи ЦАП</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="78"/>
        <source>Data bus error</source>
        <translation>Ошибка шины данных</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="79"/>
        <source>CSA reading error</source>
        <translation>Ошибка чтения CSA</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="80"/>
        <source>Control unit error</source>
        <translation>Ошибка блока управления</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="81"/>
        <source>1PPS counter reading</source>
        <translation>Чтение счётчика 1PPS</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="82"/>
        <source>1PPS config. reading</source>
        <translation>Чтение конфиг. 1PPS</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="83"/>
        <source>CHECK CNF1PPS read error</source>
        <translation>Ошибка чтения CHECK CNF1PPS</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="84"/>
        <source>Time is out</source>
        <translation>Время истекло</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="85"/>
        <source>Zero weight coeffs</source>
        <translation>Нулевые весовые коэфф.</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="86"/>
        <source>User command</source>
        <translation>Команда оператора</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="87"/>
        <source>Freq limit exceeded</source>
        <translation>Превышен предел частоты</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="88"/>
        <source>Signal inclusion started</source>
        <translation>Начато включение сигнала</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="89"/>
        <source>Signal inclusion finished</source>
        <translation>Закончено включение сигнала</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="90"/>
        <source>Signal excluded</source>
        <translation>Сигнал исключён</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="91"/>
        <source>Incorrect values</source>
        <translation>Неверные значения</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="100"/>
        <source>Number</source>
        <translation>Номер</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="101"/>
        <source>Date and time</source>
        <translation>Дата и время</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="102"/>
        <source>Event</source>
        <translation>Событие</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="103"/>
        <source>Cause</source>
        <translation>Причина</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="104"/>
        <source>Channels</source>
        <translation>Каналы</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="105"/>
        <source>DAC1</source>
        <translation>ЦАП1</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="106"/>
        <source>DAC2</source>
        <translation>ЦАП2</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="107"/>
        <source>Offset</source>
        <translation>Смещение</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="108"/>
        <source>Trend</source>
        <translation>Тренд</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="109"/>
        <source>RFD1</source>
        <translation>ОРЧ1</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="110"/>
        <source>RFD2</source>
        <translation>ОРЧ2</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="111"/>
        <source>RFD3</source>
        <translation>ОРЧ3</translation>
    </message>
    <message>
        <location filename="../../../link/JournalFile.cpp" line="112"/>
        <source>RFD4</source>
        <translation>ОРЧ4</translation>
    </message>
</context>
<context>
    <name>SmoothSteering</name>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="40"/>
        <source>Can&apos;t apply steering. Steering is in progress already</source>
        <translation>Невозможно начать подстройку. Подстройка уже выполняется</translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="49"/>
        <source>Smooth steering is started</source>
        <translation>Плавная подстройка начата</translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="76"/>
        <source>Wrong fdaq</source>
        <translation>Недопустимое значение fdaq</translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="88"/>
        <source>Smooth steering is finished</source>
        <translation>Плавная подстройка завершена</translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="106"/>
        <source>offset is </source>
        <translation>смещение </translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="110"/>
        <source>wrong offset </source>
        <translation>неверное смещение </translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="115"/>
        <source>wrong checksum</source>
        <translation>неверная контрольная сумма</translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="117"/>
        <source>Failed in attemp # </source>
        <translation>Неудачная попытка № </translation>
    </message>
    <message>
        <location filename="../../../link/SmoothSteering.cpp" line="135"/>
        <source>Smooth steering is aborted by the user</source>
        <translation>Плавная подстройка прервана оператором</translation>
    </message>
    <message>
        <source>Smooth steering is stopped: the instrument is not connected</source>
        <translation>Плавная подстройка остановлена: прибор не подключён</translation>
    </message>
</context>
</TS>
