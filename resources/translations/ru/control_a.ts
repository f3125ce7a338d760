<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>FieldCheck</name>
    <message>
        <location filename="../../../control/FieldCheck.cpp" line="24"/>
        <source>Incorrect value!</source>
        <translation>Неверное значение!</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <location filename="../../../dialogs/MessageBox.cpp" line="14"/>
        <source>Monitor KSR-583</source>
        <translation>Монитор KSR-583</translation>
    </message>
</context>
<context>
    <name>OFFSET_command</name>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="17"/>
        <source>Phase Offset Correction</source>
        <translation>Коррекция фазы</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="20"/>
        <location filename="../../../control/OFFSET_command.ui" line="64"/>
        <source>New Offset</source>
        <translation>Новое смещение</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="30"/>
        <source>ns</source>
        <translation>нс</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="31"/>
        <source>ps</source>
        <translation>пс</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="35"/>
        <location filename="../../../control/OFFSET_command.cpp" line="183"/>
        <location filename="../../../control/OFFSET_command.cpp" line="233"/>
        <location filename="../../../control/OFFSET_command.cpp" line="292"/>
        <source>Change</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="49"/>
        <location filename="../../../control/OFFSET_command.ui" line="81"/>
        <location filename="../../../control/OFFSET_command.ui" line="113"/>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="53"/>
        <source>Frequency Offset Correction</source>
        <translation>Коррекция частоты</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="56"/>
        <source>Current Offset</source>
        <translation>Текущее смещение</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="85"/>
        <source>Frequency Trend Correction</source>
        <translation>Коррекция дрейфа</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="88"/>
        <source>Current Trend</source>
        <translation>Текущий дрейф</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="96"/>
        <source>New Trend</source>
        <translation>Новый дрейф</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="111"/>
        <source>The Frequency offset value range is:
from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.</source>
        <translation>Допустимые значения смещения частоты:
от -1.0e-8 до -1.0e-18, 0, от 1.0e-18 до 1.0e-8.</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="117"/>
        <source>The Drift offset value range is:
from -1.0e-11 to -1.0e-18, 0, from 1.0e-18 to 1.0e-11.</source>
        <translation>Допустимые значения дрейфа:
от -1.0e-11 до -1.0e-18, 0, от 1.0e-18 до 1.0e-11.</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="165"/>
        <location filename="../../../control/OFFSET_command.cpp" line="292"/>
        <source>Apply</source>
        <translation>Применить</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="177"/>
        <source>The Phase offset value range is:
from %1 to %2 ns.</source>
        <translation>Допустимые значения смещения фазы:
от %1 до %2 нс.</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="203"/>
        <source>Frequency will be shifted on: 
%1 during %2 s!</source>
        <translation>Частота будет смещена на: 
%1 в течение %2 с!</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="205"/>
        <source>Frequency will be shifted on: 
%1 during %2 s and  
%3 during 1 s!</source>
        <translation>Частота будет смещена на: 
%1 в течение %2 с и  
%3 в течение 1 с!</translation>
    </message>
</context>
<context>
    <name>SCONTROL_command</name>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="17"/>
        <source>Smooth Correction</source>
        <translation>Плавная коррекция</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="23"/>
        <source>Current Freq Offset</source>
        <translation>Текущее смещение</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="31"/>
        <source>New Freq Offset</source>
        <translation>Новое смещение</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="49"/>
        <source>Interval between corrections (s)</source>
        <translation>Интервал между коррекциями (с)</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="61"/>
        <source>Number of Corrections</source>
        <translation>Число коррекций</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="77"/>
        <source>Phase</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="87"/>
        <source>ns</source>
        <translation>нс</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="88"/>
        <source>ps</source>
        <translation>пс</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="93"/>
        <source>Offset increments</source>
        <translation>Шаги смещения</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="96"/>
        <source>Calculate</source>
        <translation>Рассчитать</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="109"/>
        <source>Abort</source>
        <translation>Прервать</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="113"/>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.cpp" line="46"/>
        <source>time, s</source>
        <translation>время, с</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.cpp" line="47"/>
        <source>freq offset</source>
        <translation>смещение частоты</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.cpp" line="75"/>
        <source>The Frequency offset value range is:
from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.</source>
        <translation>Допустимые значения смещения частоты:
от -1.0e-8 до -1.0e-18, 0, от 1.0e-18 до 1.0e-8.</translation>
    </message>
</context>
<context>
    <name>SYNCHR_command</name>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="17"/>
        <source>Mode, Synchronization</source>
        <translation>Режим, синхронизация</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="20"/>
        <source>SWITCHING mode</source>
        <translation>Режим ПЕРЕКЛЮЧЕНИЯ</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="24"/>
        <source>AVERAGING mode</source>
        <translation>Режим УСРЕДНЕНИЯ</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="31"/>
        <source>Master:</source>
        <translation>Опорный:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="35"/>
        <source>Back up 1:</source>
        <translation>Резерв 1:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="39"/>
        <source>Back up 2:</source>
        <translation>Резерв 2:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="43"/>
        <source>Back up 3:</source>
        <translation>Резерв 3:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="63"/>
        <source>Channel 1</source>
        <translation>Канал 1</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="67"/>
        <source>Channel 2</source>
        <translation>Канал 2</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="71"/>
        <source>Channel 3</source>
        <translation>Канал 3</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="75"/>
        <source>Channel 4</source>
        <translation>Канал 4</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="79"/>
        <location filename="../../../control/SYNCHR_command.ui" line="83"/>
        <location filename="../../../control/SYNCHR_command.ui" line="87"/>
        <location filename="../../../control/SYNCHR_command.ui" line="91"/>
        <source>is included in group </source>
        <translation>входит в группу </translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="96"/>
        <source>Synchronization is ON</source>
        <translation>Синхронизация включена</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="105"/>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.cpp" line="25"/>
        <location filename="../../../control/SYNCHR_command.cpp" line="377"/>
        <source>Channel %1</source>
        <translation>Канал %1</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.cpp" line="62"/>
        <source>No</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <location filename="../../../control/Settings.ui" line="7"/>
        <location filename="../../../control/Settings.cpp" line="242"/>
        <source>Monitor KSR-583. Control</source>
        <translation>Монитор KSR-583. Управление</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="30"/>
        <source>Mode, Synchronization</source>
        <translation>Режим, синхронизация</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="31"/>
        <source>Offset Correction</source>
        <translation>Коррекция смещения</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="32"/>
        <source>Smooth Correction</source>
        <translation>Плавная коррекция</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="33"/>
        <source>Frequency Diff. Limit</source>
        <translation>Предел разности частот</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="34"/>
        <source>1PPS Synchronization</source>
        <translation>Синхронизация 1PPS</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="35"/>
        <source>Date and Time</source>
        <translation>Дата и время</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="36"/>
        <source>Qualification Interval</source>
        <translation>Интервал квалификации</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="37"/>
        <source>Logs</source>
        <translation>Журнал</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="38"/>
        <source>AVE Control</source>
        <translation>Управление AVE</translation>
    </message>
</context>
</TS>
