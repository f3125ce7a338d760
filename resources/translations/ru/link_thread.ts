<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>COMThread</name>
    <message>
        <location filename="../../../link/COMThread.cpp" line="187"/>
        <source>Connection is stopped by user</source>
        <translation>Подключение остановлено пользователем</translation>
    </message>
    <message>
        <location filename="../../../link/COMThread.cpp" line="368"/>
        <source>Command is processed...</source>
        <translation>Команда выполняется...</translation>
    </message>
</context>
<context>
    <name>PortDiscovery</name>
    <message>
        <location filename="../../../link/PortDiscovery.cpp" line="61"/>
        <source>Looking for devices...</source>
        <translation>Поиск устройств...</translation>
    </message>
    <message>
        <location filename="../../../link/PortDiscovery.cpp" line="96"/>
        <source>Connecting to %1</source>
        <translation>Подключение к %1</translation>
    </message>
    <message>
        <location filename="../../../link/PortDiscovery.cpp" line="138"/>
        <source>Connected to %1</source>
        <translation>Подключено к %1</translation>
    </message>
</context>
<context>
    <name>StatusPoller</name>
    <message>
        <location filename="../../../link/StatusPoller.cpp" line="13"/>
        <source>Read DETECT failed, message length = %1</source>
        <translation>Ошибка чтения DETECT, длина сообщения = %1</translation>
    </message>
    <message>
        <location filename="../../../link/StatusPoller.cpp" line="14"/>
        <source>Read ADJ_CMD_STATE failed, message length = %1</source>
        <translation>Ошибка чтения ADJ_CMD_STATE, длина сообщения = %1</translation>
    </message>
    <message>
        <location filename="../../../link/StatusPoller.cpp" line="15"/>
        <source>Read ADJ_STATE failed, message length = %1</source>
        <translation>Ошибка чтения ADJ_STATE, длина сообщения = %1</translation>
    </message>
    <message>
        <location filename="../../../link/StatusPoller.cpp" line="16"/>
        <source>Read VAR_STRUCT failed, message length = %1</source>
        <translation>Ошибка чтения VAR_STRUCT, длина сообщения = %1</translation>
    </message>
</context>
<context>
    <name>StatusReader</name>
    <message>
        <location filename="../../../link/StatusReader.cpp" line="40"/>
        <source>no 0x01 at start</source>
        <translation>нет 0x01 в начале</translation>
    </message>
    <message>
        <location filename="../../../link/StatusReader.cpp" line="42"/>
        <source>wrong checksum! %1</source>
        <translation>неверная контрольная сумма! %1</translation>
    </message>
    <message>
        <location filename="../../../link/StatusReader.cpp" line="85"/>
        <source>1PPS delay is %1 ns</source>
        <translation>Задержка 1PPS: %1 нс</translation>
    </message>
    <message>
        <location filename="../../../link/StatusReader.cpp" line="94"/>
        <source>DAC1(coarce) = %1</source>
        <translation>ЦАП1 (грубо) = %1</translation>
    </message>
    <message>
        <location filename="../../../link/StatusReader.cpp" line="95"/>
        <source>DAC2(fine) = %1</source>
        <translation>ЦАП2 (точно) = %1</translation>
    </message>
    <message>
        <location filename="../../../link/StatusReader.cpp" line="107"/>
        <source>OK checksum! getDeviceInfo</source>
        <translation>Контрольная сумма верна! getDeviceInfo</translation>
    </message>
</context>
</TS>
