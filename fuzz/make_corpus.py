#!/usr/bin/env python3
"""Writes the seed corpus under fuzz/corpus/: well-formed inputs for every
target and a few malformed ones. Run again after changing a layout; the
output is the same every time."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# code, CRC offset, minimum answer, echo checked (same order as the link's table)
TABLE = [
    ("P10", 16, 20), ("PC0", 46, 50), ("PA0", 96, 100), ("PV0", 40, 44),
    ("P30", 16, 20), ("PD0", 12, 16), ("PR0", 52, 56), ("FN0", -1, 16),
    ("7N0", 40, 44), ("W10", 8, 12), ("W20", 8, 12), ("o1?", 8, 12),
    ("o2?", 8, 12), ("a10", 16, 20), ("S?0", 8, 12), ("M?0", 9, 13),
    ("m10", 12, 16), ("m20", 12, 16), ("m30", 12, 16), ("500", 8, 12),
    ("c10", 8, 12), ("310", 15, 19), ("T00", 27, 31), ("T10", 27, 31),
    ("Q10", 24, 28), ("Q00", 24, 28), ("X10", 9, 13), ("X20", 9, 13),
    ("X00", 9, 13), ("G00", -1, 14), ("G-0", -1, 56), ("G!0", 10, 14),
]


def crc16(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def answer(row, digit, payload):
    code, crc_offset, min_answer = TABLE[row]
    frame = bytearray(b"\x01" + code.replace("?", digit).encode() + bytes(4) + payload)
    if crc_offset > 0:
        frame = frame[:crc_offset].ljust(crc_offset, b"\0")
        frame += struct.pack("<H", crc16(frame[1:]))
    return bytes(frame.ljust(min_answer, b"\0"))


def journal_record(number, event, cause, day=7, hour=15):
    return struct.pack("<HHf4fHHHHBBHBBHf", 0, number, 1.5e-12, 1e-13, -2e-13, 0.0, 3e-12,
                       2048, 1024, 0x1735, (event << 8) | cause, day, 1, 2026, 30, 45, hour,
                       -4e-15)


def payloads():
    """A realistic payload for each row."""
    f = lambda *v: struct.pack("<%df" % len(v), *v)
    h = lambda *v: struct.pack("<%dh" % len(v), *v)
    return {
        0: h(0x0001, 0x0001, 0x0100, 0),
        1: h(1, 1, 0, 1, 0, 0x01, 0x21, 0x31, 0) + struct.pack("<5H", 600, 0, 300, 0, 0)
           + bytes(8) + struct.pack("<H", 0x1100),
        2: f(*([1e-12, -3e-15, 1, 0, 0.5, 0.5] + [0] * 8 + [1e-9, 2e-9, 0, -1e-9] + [0] * 4)),
        3: f(1e-12, 0, 2e-12, 0, 3e-12, 0, 4e-12, 0),
        4: struct.pack("<Ihh", 12345, 0, 1),
        5: struct.pack("<HH", 40000, 1234),
        6: bytes(16) + f(1e-10) + bytes(4),
        7: b"KSR-583 #0042".ljust(16, b"\0"),
        8: b"2.20".ljust(8, b"\0") + b"07.01.2026\0" + b"00042".ljust(8, b"\0")
           + bytes([3, 7, 12, 1, 5]),
        16: f(2.5e-12), 17: f(-1e-16), 18: f(1e-10),
        21: h(0) + struct.pack("<i", 1234) + b"\x01",
        22: b"07.01.2026 15:45:00", 23: b"08.01.2026 03:00:59",
        24: f(0.1, 0.2, 0.3, 0.4), 25: f(1, 0, 0, 0),
        26: b"\x01", 27: b"\x00", 28: b"\x01",
        29: struct.pack("<H", 12),
        30: journal_record(1, 7, 3),
    }


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def answers():
    p = payloads()
    for row, (code, _, _) in enumerate(TABLE):
        digit = "2"
        # The mode row takes its parameter byte as the mode character itself.
        parameter = ord(digit) if code == "M?0" else ord(digit) - ord("0")
        write("answer", "%02d_%s" % (row, code.replace("?", "d")),
              bytes([row, parameter]) + answer(row, digit, p.get(row, b"")))
    good = answer(1, "0", p[1])
    write("answer", "bad_checksum", bytes([1, 0]) + good[:-5] + b"\xff" + good[-4:])
    write("answer", "bad_start", bytes([1, 0]) + b"\x02" + good[1:])
    write("answer", "bad_short", bytes([2, 0]) + answer(2, "0", p[2])[:60])
    write("answer", "bad_echo", bytes([16, 0]) + b"\x01m2" + answer(16, "0", p[16])[3:])
    write("answer", "bad_datetime", bytes([22, 0]) + answer(22, "0", b"32.13.2026 25:61:00"))
    write("answer", "bad_mode_digit", bytes([15, 7]) + answer(15, "7", b""))
    write("answer", "bad_empty", bytes([7, 0]))


def journals():
    write("journal", "one_record", b"\x00" + journal_record(1, 7, 3))
    write("journal", "ring", b"\x00" + b"".join(journal_record(n, n % 60, n % 20) for n in (3, 4, 1, 2)))
    write("journal", "missing_slots", b"\x05" + b"".join(journal_record(n, 12, 1) for n in range(1, 6)))
    write("journal", "unknown_codes", b"\x00" + journal_record(7, 255, 255, day=99, hour=300))
    write("journal", "short_record", b"\x00" + journal_record(1, 7, 3)[:30])
    write("journal", "identification", b"\x01FN0\0\0\0\0KSR-583 #../x/*?\0\0\0")
    write("journal", "empty", b"\x00")


def identities():
    write("identity", "ksr583", b"\x01FN0\0\0\0\0KSR-583 #0042\0\0\0")
    write("identity", "other_model", b"\x01FN0\0\0\0\0KSR-584\0\0\0\0\0\0\0\0\0")
    write("identity", "cyrillic", b"\x01FN0\0\0\0\0\xca\xd1\xd0-583 \xb9 12\0\0\0")
    write("identity", "no_zero", b"\x01FN0\0\0\0\0" + b"583" * 8)
    write("identity", "short", b"\x01FN0\0\0\0\0KSR")
    write("identity", "device_info", answer(8, "0", payloads()[8]))
    write("identity", "device_info_utf8_cut", answer(8, "0", b"\xd0\xb2\xd0\xb5\xd1\x80\xd1" + bytes(33)))
    write("identity", "empty", b"")


def accounts():
    digest = b"5f4dcc3b5aa765d61d8327deb882cf99"
    write("accounts", "levels", b"1 admin " + digest + b"\n2 oper " + digest + b"\nuser " + digest + b"\n")
    write("accounts", "crlf", b"1 admin " + digest + b"\r\n3 guest " + digest + b"\r\n")
    write("accounts", "duplicate", b"1 admin " + digest + b"\n2 admin " + digest + b"\n")
    write("accounts", "bad_lines", b"\n  \n1  admin x\nonlyone\n1 2 3 4\nx admin " + digest + b"\n")
    write("accounts", "latin1", b"1 \xe9t\xe9 " + digest + b"\n")
    write("accounts", "empty", b"")

    # Lines of the service protocol: one message each, as the encoders write them.
    write("protocol", "hello", b'{"type":"hello","version":2,"client":"ksr583-monitor 2.20.5"}\n')
    write("protocol", "login_then_offset", b'{"type":"login","login":"alice","password":"secret"}\r\n'
          b'{"code":3,"id":7,"params":{"freq_newOffset":2.5e-12},"type":"command"}\n')
    write("protocol", "qualification", b'{"code":11,"id":9,"login":"alice","password":"x","params":'
          b'{"qual_Interval_chan1":600,"qual_Interval_chan2":65535,"qual_Interval_chan3":600,'
          b'"qual_Interval_chan4":599},"type":"command"}\n')
    write("protocol", "smooth", b'{"code":5,"id":3,"params":{"freq_newValue":1e-09,"numOfControls":5,"phase_newValue":-1e-12,"timeInterval":10},"type":"command"}' + b"\n")
    write("protocol", "snapshot", b'{"snapshot":{"adjState":{"chanOffset":[0,0,0,0],"coeff":[0,0,0,0],"freqDrift":0,"freqOffset":"0x80000000","reserved1":[0,0,0,0,0,0,0,0],"reserved2":[0,0,0,0]},"counters":{"connections":0,"pollTimeouts":0,"polls":0,"rejectedAnswers":0},"detect":{"chan":[0,0,0,0]},"deviceInfo":{"OSFvers":"1","PLIS_CPUvers":"12","comparatorVers":"3","outherComparatorVers":"7","serialNumber":"00042","softwareVersDate":"07.01.2026","softwareVersNumber":"2.20"},"lines":[{"colour":"black","text":"Command applied!","time":"2026-01-07T15:45:00.000Z"}],"link":{"phase":0,"port":"","searchDone":0,"searchTotal":0},"parameters":{"ave_info":{"aveCur":[0,0,0,0],"aveNew":[0,0,0,0],"enabledCur":false,"enabledNew":0},"currentLimit":0,"dateTime_info":{"dateDifference":0,"lastUpdate":null,"timeDifference":0},"drift_newOffset":0,"freq_diffLimit_newValue":0,"freq_newOffset":0,"journalFolder":"","phaseControl_info":{"endTime":null,"phaseOffset":0,"timerInterval":0},"pps_info":{"delay":0,"external":0,"status":0},"qualInterval_info":{"qual_Interval_chan1":600,"qual_Interval_chan2":600,"qual_Interval_chan3":600,"qual_Interval_chan4":600},"smartControl_info":{"freq_newValue":0,"numOfControls":0,"phase_newValue":0,"timeInterval":10},"syncControl_info":{"BackUp1_Chan":0,"BackUp2_Chan":0,"BackUp3_Chan":0,"Ref_Chan":1,"SyncIsOn":false,"chanAvailable":[0,0,0,0],"chanIncluded":[false,false,false,false],"modeCur":"1","modeNew":"1","stat":[0,0,0,0],"syncStatus":0}},"progress":{"journalDone":3,"journalTotal":12,"steering":0},"results":{"aveEnabled":false,"aveEnabledReadings":0,"aveValues":[0,0,0,0],"currentLimit":0,"dateDifference":0,"lastTimeUpdate":null,"pps":{"delay":0,"external":0,"status":0},"timeDifference":0},"serviceName":"labpc","titleItem":"COM3 KSR-583 #0042"},"type":"snapshot"}' + b"\n")
    write("protocol", "record", b'{"record":"varState","type":"record","utc":"2026-01-07T15:45:00.000Z","value":{"value":[1.4999999940062958e-12,0,0,0,0,0,0,0]}}' + b"\n")
    write("protocol", "malformed", b'{"type":"ping","id":1e999}\n[1,2]\n{"type":"x\u0000"}\n{"code":0,'
          b'"params":{"Ref_Chan":"0x7fc00000"},"type":"command"}\n')


def configurations():
    write("configuration", "full", b"""[Settings]
Language=RU
COM=COM3
AnalyseAtStart=1
MonitorInterval=10
ControlAvailable=1
DEBUG_LEVEL=2
WriteParamInFile_Period=5
SupervisInfoFile=1
Path_local=C:/KSR583
[Passwords]
File_passwords=passwords.ini
NumOfAttemps=3
NumOfSeconds=600
[Windows_Position]
Main_Window_x=100
Main_Window_y=50
[Signal_names]
Channel_1=GPS
Channel_2="Rb, AHM#1"
Channel_3=\xc2\xf5\xee\xe4 3
Channel_4=Cs
[Status]
RefChan=3
RefName=Cs
""")
    write("configuration", "reference", b"[Status]\nRefChan=2\nRefName=\"  Rb   beam \"\n")
    write("configuration", "not_numbers", b"[Settings]\nWriteParamInFile_Period=often\nDEBUG_LEVEL=1.5\n"
          b"[Status]\nRefChan=two\n")
    write("configuration", "period_zero", b"[Settings]\nWriteParamInFile_Period=0\n")
    write("configuration", "list_value", b"[Signal_names]\nChannel_1=a, b, c\n")
    write("configuration", "broken_groups", b"[Settings\nCOM=\n[]\n=1\n[Status]\nRefChan\n")
    write("configuration", "empty", b"")


def parameter_row(time, mode, statuses, values):
    """A parameter log row: fields padded to their width in UTF-8 bytes, a
    blank after a field that fills it."""
    widths = [10, 25, 10, 10, 10, 10, 12, 12, 11, 11, 11, 11, 10, 10, 10, 10]
    fields = [time, mode] + statuses + values
    row = b""
    for text, width in zip(fields, widths):
        field = text.encode("utf-8").ljust(width)
        row += field if field.endswith(b" ") else field + b" "
    return row + b"\n"


def parameter_logs():
    numbers = ["1.0894e-15", "0", "1.5e-12", "-2.25e-12", "3e-13", "0", "2.1e-12", "3.6e-12", "5.1e-12", "0"]
    header_en = b"Time      Mode                     Chan1     Chan2     Chan3     Chan4     Offset      Trend       " \
                b"Offset1    Offset2    Offset3    Offset4    ADEV1     ADEV2     ADEV3     ADEV4    \n"
    write("parameterlog", "english", header_en
          + parameter_row("08:00:00", "", ["-"] * 4, ["0"] * 10)
          + parameter_row("08:01:00", "SWITCHING mode", ["+", "BACKUP 1", "440 s", "E"], numbers)
          + parameter_row("08:02:00", "AVERAGING mode", ["+", "+", "-", "-"], numbers))
    write("parameterlog", "russian", "Время Режим Кан1 Кан2 Кан3 Кан4 Смещ. Тренд Смещ1 Смещ2 Смещ3 Смещ4 "
          "ADEV1 ADEV2 ADEV3 ADEV4\n".encode("utf-8")
          + parameter_row("23:59:00", "Режим переключения", ["+", "РЕЗЕРВ 2", "12 с", "-"], numbers))
    write("parameterlog", "older_full_field",
          b"00:00:59  AVERAGING mode           -         -         +         +         -1.19582e-150           "
          b"1.5e-12    -2.25e-12  3e-13      0          2.1e-12   3.6e-12   5.1e-12   0         \r\n")
    write("parameterlog", "bad_rows", parameter_row("25:00:00", "SWITCHING mode", ["+"] * 4, numbers)
          + parameter_row("12:00:00", "SWITCHING mode", ["BACKUP 9", "+", "+", "+"], numbers)
          + parameter_row("12:00:00", "SWITCHING mode", ["+"] * 4, numbers[:9] + ["nan"])
          + b"12:00:00  SWITCHING mode  +\n")
    write("parameterlog", "empty", b"")


if __name__ == "__main__":
    answers()
    journals()
    identities()
    accounts()
    configurations()
    parameter_logs()
