<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>MainWindow</name>
    <message>
        <source>Monitor KSR-583</source>
        <translation>Монитор KSR-583</translation>
    </message>
    <message>
        <source>Signals</source>
        <translation>Сигналы</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Статус</translation>
    </message>
    <message>
        <source>Offsets</source>
        <translation>Смещения</translation>
    </message>
    <message>
        <source>ADEV@1s</source>
        <translation>ADEV@1с</translation>
    </message>
    <message>
        <source>Frequency offset:</source>
        <translation>Смещение частоты:</translation>
    </message>
    <message>
        <source>Frequency trend:</source>
        <translation>Тренд частоты:</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Управление</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>Import parameter logs</source>
        <translation>Импорт журналов параметров</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Device connection</source>
        <translation>Подключение к прибору</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>About device</source>
        <translation>О приборе</translation>
    </message>
    <message>
        <source>About program</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Smooth Correction is in progress...</source>
        <translation>Выполняется плавная коррекция...</translation>
    </message>
    <message>
        <source>Phase Offset Correction is in progress...</source>
        <translation>Выполняется коррекция фазового сдвига...</translation>
    </message>
    <message>
        <source>Connected to </source>
        <translation>Подключено к </translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Режим</translation>
    </message>
    <message>
        <source>Chan1</source>
        <translation>Кан1</translation>
    </message>
    <message>
        <source>Chan2</source>
        <translation>Кан2</translation>
    </message>
    <message>
        <source>Chan3</source>
        <translation>Кан3</translation>
    </message>
    <message>
        <source>Chan4</source>
        <translation>Кан4</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Смещ.</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>Тренд</translation>
    </message>
    <message>
        <source>Offset1</source>
        <translation>Смещ1</translation>
    </message>
    <message>
        <source>Offset2</source>
        <translation>Смещ2</translation>
    </message>
    <message>
        <source>Offset3</source>
        <translation>Смещ3</translation>
    </message>
    <message>
        <source>Offset4</source>
        <translation>Смещ4</translation>
    </message>
    <message>
        <source>ADEV1</source>
        <translation>ADEV1</translation>
    </message>
    <message>
        <source>ADEV2</source>
        <translation>ADEV2</translation>
    </message>
    <message>
        <source>ADEV3</source>
        <translation>ADEV3</translation>
    </message>
    <message>
        <source>ADEV4</source>
        <translation>ADEV4</translation>
    </message>
</context>
<context>
    <name>StatusDisplay</name>
    <message>
        <source>Initial signal estimation, </source>
        <translation>Начальная оценка сигналов, </translation>
    </message>
    <message>
        <source> s</source>
        <translation> с</translation>
    </message>
    <message>
        <source>Synchronization OK</source>
        <translation>Синхронизация в норме</translation>
    </message>
    <message>
        <source>No synchronization!</source>
        <translation>Нет синхронизации!</translation>
    </message>
    <message>
        <source>BACKUP 3</source>
        <translation>РЕЗЕРВ 3</translation>
    </message>
    <message>
        <source>BACKUP 2</source>
        <translation>РЕЗЕРВ 2</translation>
    </message>
    <message>
        <source>BACKUP 1</source>
        <translation>РЕЗЕРВ 1</translation>
    </message>
    <message>
        <source>SWITCHING mode</source>
        <translation>Режим переключения</translation>
    </message>
    <message>
        <source>AVERAGING mode</source>
        <translation>Режим усреднения</translation>
    </message>
    <message>
        <source>No connection</source>
        <translation>Нет связи</translation>
    </message>
</context>
</TS>
