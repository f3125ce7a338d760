<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>FieldCheck</name>
    <message>
        <location filename="../../../control/FieldCheck.cpp" line="24" />
        <source>Incorrect value!</source>
        <translation>Неверное значение!</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <location filename="../../../dialogs/MessageBox.cpp" line="14" />
        <source>Monitor KSR-583</source>
        <translation>Монитор KSR-583</translation>
    </message>
</context>
<context>
    <name>OFFSET_command</name>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="15" />
        <source>Phase Offset Correction</source>
        <translation>Коррекция фазы</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="18" />
        <location filename="../../../control/OFFSET_command.ui" line="62" />
        <source>New Offset</source>
        <translation>Новое смещение</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="28" />
        <source>ns</source>
        <translation>нс</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="29" />
        <source>ps</source>
        <translation>пс</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="33" />
        <location filename="../../../control/OFFSET_command.cpp" line="174" />
        <location filename="../../../control/OFFSET_command.cpp" line="224" />
        <location filename="../../../control/OFFSET_command.cpp" line="282" />
        <source>Change</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="47" />
        <location filename="../../../control/OFFSET_command.ui" line="79" />
        <location filename="../../../control/OFFSET_command.ui" line="111" />
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="51" />
        <source>Frequency Offset Correction</source>
        <translation>Коррекция частоты</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="54" />
        <source>Current Offset</source>
        <translation>Текущее смещение</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="83" />
        <source>Frequency Trend Correction</source>
        <translation>Коррекция дрейфа</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="86" />
        <source>Current Trend</source>
        <translation>Текущий дрейф</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.ui" line="94" />
        <source>New Trend</source>
        <translation>Новый дрейф</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="102" />
        <source>The Frequency offset value range is:
from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.</source>
        <translation>Допустимые значения смещения частоты:
от -1.0e-8 до -1.0e-18, 0, от 1.0e-18 до 1.0e-8.</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="108" />
        <source>The Drift offset value range is:
from -1.0e-11 to -1.0e-18, 0, from 1.0e-18 to 1.0e-11.</source>
        <translation>Допустимые значения дрейфа:
от -1.0e-11 до -1.0e-18, 0, от 1.0e-18 до 1.0e-11.</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="156" />
        <location filename="../../../control/OFFSET_command.cpp" line="282" />
        <source>Apply</source>
        <translation>Применить</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="168" />
        <source>The Phase offset value range is:
from %1 to %2 ns.</source>
        <translation>Допустимые значения смещения фазы:
от %1 до %2 нс.</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="194" />
        <source>Frequency will be shifted on: 
%1 during %2 s!</source>
        <translation>Частота будет смещена на: 
%1 в течение %2 с!</translation>
    </message>
    <message>
        <location filename="../../../control/OFFSET_command.cpp" line="196" />
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
        <location filename="../../../control/SCONTROL_command.ui" line="15" />
        <source>Smooth Correction</source>
        <translation>Плавная коррекция</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="21" />
        <source>Current Freq Offset</source>
        <translation>Текущее смещение</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="29" />
        <source>New Freq Offset</source>
        <translation>Новое смещение</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="46" />
        <source>Interval between corrections (s)</source>
        <translation>Интервал между коррекциями (с)</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="58" />
        <source>Number of Corrections</source>
        <translation>Число коррекций</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="74" />
        <source>Phase</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="84" />
        <source>ns</source>
        <translation>нс</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="85" />
        <source>ps</source>
        <translation>пс</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="90" />
        <source>Offset increments</source>
        <translation>Шаги смещения</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="93" />
        <source>Calculate</source>
        <translation>Рассчитать</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="106" />
        <source>Abort</source>
        <translation>Прервать</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.ui" line="110" />
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.cpp" line="46" />
        <source>time, s</source>
        <translation>время, с</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.cpp" line="47" />
        <source>freq offset</source>
        <translation>смещение частоты</translation>
    </message>
    <message>
        <location filename="../../../control/SCONTROL_command.cpp" line="75" />
        <source>The Frequency offset value range is:
from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.</source>
        <translation>Допустимые значения смещения частоты:
от -1.0e-8 до -1.0e-18, 0, от 1.0e-18 до 1.0e-8.</translation>
    </message>
</context>
<context>
    <name>SYNCHR_command</name>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="15" />
        <source>Mode, Synchronization</source>
        <translation>Режим, синхронизация</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="18" />
        <source>SWITCHING mode</source>
        <translation>Режим ПЕРЕКЛЮЧЕНИЯ</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="22" />
        <source>AVERAGING mode</source>
        <translation>Режим УСРЕДНЕНИЯ</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="29" />
        <source>Master:</source>
        <translation>Опорный:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="33" />
        <source>Back up 1:</source>
        <translation>Резерв 1:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="37" />
        <source>Back up 2:</source>
        <translation>Резерв 2:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="41" />
        <source>Back up 3:</source>
        <translation>Резерв 3:</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="61" />
        <source>Channel 1</source>
        <translation>Канал 1</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="65" />
        <source>Channel 2</source>
        <translation>Канал 2</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="69" />
        <source>Channel 3</source>
        <translation>Канал 3</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="73" />
        <source>Channel 4</source>
        <translation>Канал 4</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="77" />
        <location filename="../../../control/SYNCHR_command.ui" line="81" />
        <location filename="../../../control/SYNCHR_command.ui" line="85" />
        <location filename="../../../control/SYNCHR_command.ui" line="89" />
        <source>is included in group </source>
        <translation>входит в группу </translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="94" />
        <source>Synchronization is ON</source>
        <translation>Синхронизация включена</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.ui" line="103" />
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.cpp" line="25" />
        <location filename="../../../control/SYNCHR_command.cpp" line="377" />
        <source>Channel %1</source>
        <translation>Канал %1</translation>
    </message>
    <message>
        <location filename="../../../control/SYNCHR_command.cpp" line="62" />
        <source>No</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <location filename="../../../control/Settings.ui" line="7" />
        <location filename="../../../control/Settings.cpp" line="244" />
        <source>Monitor KSR-583. Control</source>
        <translation>Монитор KSR-583. Управление</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="30" />
        <source>Mode, Synchronization</source>
        <translation>Режим, синхронизация</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="31" />
        <source>Offset Correction</source>
        <translation>Коррекция смещения</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="32" />
        <source>Smooth Correction</source>
        <translation>Плавная коррекция</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="33" />
        <source>Frequency Diff. Limit</source>
        <translation>Предел разности частот</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="34" />
        <source>1PPS Synchronization</source>
        <translation>Синхронизация 1PPS</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="35" />
        <source>Date and Time</source>
        <translation>Дата и время</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="36" />
        <source>Qualification Interval</source>
        <translation>Интервал квалификации</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="37" />
        <source>Logs</source>
        <translation>Журнал</translation>
    </message>
    <message>
        <location filename="../../../control/Settings.ui" line="38" />
        <source>AVE Control</source>
        <translation>Управление AVE</translation>
    </message>
</context>
</TS>
