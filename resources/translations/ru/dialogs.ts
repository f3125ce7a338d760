<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AutoConnectForm</name>
    <message>
        <location filename="../../../dialogs/AutoConnectForm.ui" line="+26"/>
        <source>Auto connecting ...</source>
        <translation>Автоподключение ...</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Analyse ports at every program start</source>
        <translation>Анализ портов при каждом запуске</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>ConnectDialog</name>
    <message>
        <location filename="../../../dialogs/ConnectDialog.ui" line="+26"/>
        <source>Device connection</source>
        <translation>Подключение к прибору</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Apply</source>
        <translation>Применить</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Update and connect</source>
        <translation>Поиск и подключение</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Analyse ports at every program start</source>
        <translation>Анализ портов при каждом запуске</translation>
    </message>
</context>
<context>
    <name>aboutDialog</name>
    <message>
        <location filename="../../../dialogs/aboutDialog.ui" line="+151"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../../../dialogs/aboutDialog.cpp" line="+80"/>
        <source>MICROSTEPPER COMBINER SYNTHESIZER
 KSR-583</source>
        <translation>МИКРОШАГОВЫЙ СИНТЕЗАТОР-КОМБИНАТОР
 KSR-583</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Device Information</source>
        <translation>Информация о приборе</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>MONITOR
KSR-583</source>
        <translation>МОНИТОР
KSR-583</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Program Information</source>
        <translation>Информация о программе</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Serial number: </source>
        <translation>Серийный номер: </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>CPU Firmware version: </source>
        <translation>Версия микропрограммы CPU: </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PLIS CPU version: </source>
        <translation>Версия ПЛИС CPU: </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Comparator version: </source>
        <translation>Версия компаратора: </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Outher Comparator version: </source>
        <translation>Версия внешнего компаратора: </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>OSF version: </source>
        <translation>Версия OSF: </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Monitor KSR-583</source>
        <translation>Монитор KSR-583</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Monitoring and control of the KSR-583 microstepper combiner synthesizer.</source>
        <translation>Контроль и управление микрошаговым синтезатором-комбинатором KSR-583.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time and Frequency Laboratory</source>
        <translation>Лаборатория времени и частоты</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>For help with the program or the instrument, contact the laboratory&apos;s instrument service.</source>
        <translation>По вопросам работы программы и прибора обращайтесь в приборную службу лаборатории.</translation>
    </message>
</context>
</TS>
