<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>MetricsServer</name>
    <message>
        <location filename="../../../metrics/MetricsServer.cpp" line="+60"/>
        <source>Metrics port %1 is in use</source>
        <translation>Порт метрик %1 занят</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Metrics endpoint cannot listen on %1 port %2</source>
        <translation>Сервер метрик не может принимать запросы по адресу %1, порт %2</translation>
    </message>
</context>
<context>
    <name>TrayStatus</name>
    <message>
        <location filename="../../../tray/TrayStatus.cpp" line="+83"/>
        <location line="+36"/>
        <source>Monitor KSR-583</source>
        <translation>Монитор KSR-583</translation>
    </message>
    <message>
        <location line="-28"/>
        <source>The instrument does not answer</source>
        <translation>Прибор не отвечает</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The instrument answers again</source>
        <translation>Прибор снова отвечает</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Synchronization is lost</source>
        <translation>Синхронизация потеряна</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Synchronization is restored</source>
        <translation>Синхронизация восстановлена</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Channel %1 has lost its signal</source>
        <translation>Канал %1 потерял сигнал</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The reference is now channel %1, was channel %2</source>
        <translation>Опорный сигнал теперь на канале %1, был на канале %2</translation>
    </message>
</context>
</TS>
