#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

The seeds are the exchanges and programs the tests use, in the input layout
that each target reads (see the comment at the top of its source). Run it
again after changing a layout; the files it writes are committed.
"""

import pathlib

KORPUS = pathlib.Path(__file__).resolve().parent / "corpus"


def fcs(tekst: str) -> str:
    suma = 0
    for znak in tekst:
        suma ^= ord(znak)
    return f"{suma:02X}"


def koncowa(tekst: str) -> str:
    return tekst + fcs(tekst) + "*\r"


def posrednia(tekst: str) -> str:
    return tekst + fcs(tekst) + "\r"


# ---- hostlink_frames: an operations byte, then pieces of length byte + characters.

def wejscie_lacza(operacje: int, kawalki: list[str]) -> bytes:
    dane = bytearray([operacje])
    for kawalek in kawalki:
        surowe = kawalek.encode("latin-1")
        while len(surowe) > 255:
            dane.append(255)
            dane += surowe[:255]
            surowe = surowe[255:]
        dane.append(len(surowe))
        dane += surowe
    return bytes(dane)


def slowa(ile: int) -> list[str]:
    return [f"C{i & 0xFFF:03X}" for i in range(ile)]


def pobieranie(lista: list[str]) -> list[str]:
    """The frames of a download of these words, n = 2 bytes a word."""
    n = f"{min(2 * len(lista), 255):02X}"
    ramki = []
    dalej = len(lista) > 23
    pierwsza = "@00MB1286" + n + "0000000" + "".join(lista[:23])
    ramki.append(posrednia(pierwsza) if dalej else koncowa(pierwsza))
    wyslane = 23
    while wyslane < len(lista):
        tekst = "".join(lista[wyslane:wyslane + 31])
        wyslane += 31
        ramki.append(posrednia(tekst) if wyslane < len(lista) else koncowa(tekst))
    return ramki


def polecenie(kod: str, dane: str = "") -> str:
    return koncowa("@00MB" + kod + dane)


PRZEKAZNIKI = ["8008", "E009", "20A8", "80A8", "8008", "20A9", "80A9"]
TIMER = ["8008", "0800", "0030", "9000", "20A8", "80A8"]
MONITOR = polecenie("3084", "12000" + "0114" + "02FA" + "02FC" + "02FE" + "0406" + "0806" + "0CC8"
                    + "13D0" + "13FF")

LACZE = {
    "status": (0x00, [polecenie("1A03")]),
    "status_unit05": (0x00, [koncowa("@05MB1A03")]),
    "status_queue_full": (0x20, [polecenie("1A03"), polecenie("0404", "0004")]),
    "lone_cr": (0x00, ["\r"]),
    "empty_events": (0x00, ["", "", "\r"]),
    "abort": (0x00, [koncowa("@00XZ")]),
    "header_rd": (0x00, [koncowa("@00RD00000001")]),
    "modes": (0x00, [polecenie("0404", "0004"), polecenie("1A03"), polecenie("0404", "0002"),
                     polecenie("1A03"), polecenie("0404", "0001"), polecenie("1A03")]),
    "monitor_from_program": (0x00, [polecenie("0404", "0002"), polecenie("1A03")]),
    "monitor_read": (0x00, [MONITOR]),
    "monitor_read_long": (0x00, [polecenie("3084", "FF000" + "0CC8" * 128)]),
    "monitor_read_bad_item": (0x00, [polecenie("3084", "04000" + "01G4" + "0114")]),
    "fixed_answers": (0x00, [polecenie("1604"), polecenie("4103"), polecenie("5208"),
                             polecenie("0703"), polecenie("2D04"), polecenie("9999")]),
    # The character that chooses the answer is the tenth from the end, CR first.
    "answers_1006": (0x00, [polecenie("1006", "0000000" + z + "00000") for z in "0234"]),
    "identity_model2": (0x04 | (2 << 3), [polecenie("2D04")]),
    "identity_model0": (0x04, [polecenie("2D04")]),
    "exchange_5e9e": (0x00, [polecenie("5E9E", "0000"),
                             "FF003F0063001B000001FF81FF0000000019FF27FF0060000F17FF00000000000000"
                             "40330200000004006300630000000000000000000000000000000072*\r", "\r"]),
    "exchange_4a07": (0x00, [polecenie("4A07"), "\r"]),
    "exchange_4b86": (0x00, [polecenie("4B86"), "0" * 126 + "\r", "0" * 50 + "*\r"]),
    "download_relay": (0x00, pobieranie(PRZEKAZNIKI)),
    "download_55": (0x00, pobieranie(slowa(55))),
    "download_128": (0x00, pobieranie(slowa(128))),
    "download_empty": (0x00, [polecenie("1286", "000000000")]),
    "download_short_word": (0x00, [polecenie("1286", "060000000800020")]),
    "download_over_count": (0x00, [posrednia("@00MB1286300000000" + "".join(slowa(20))),
                                   polecenie("1286", "0600000008000") + polecenie("1A03"),
                                   polecenie("1107")]),
    "download_bad_count": (0x00, [polecenie("1286", "G40000000C000")]),
    "download_no_file": (0x40, pobieranie(PRZEKAZNIKI)),
    "download_abandoned": (0x00, pobieranie(slowa(40))[:1] + [koncowa("@00XZ")]
                           + pobieranie(["8000", "2008"])),
    "upload_small": (0x00, pobieranie(["8008", "2008", "8000", "1801"])
                     + [polecenie("1107")] + ["\r"] * 6),
    "upload_long": (0x00, pobieranie(slowa(60)) + [polecenie("1107"), "X\r", "X\r", "\r", "\r"]),
    "upload_during_download": (0x00, pobieranie(slowa(60))[:2] + [polecenie("1107")]
                               + pobieranie(slowa(60))[2:]),
    "upload_bad_word": (0x00, [polecenie("1286", "020000000Z"), polecenie("1107")]),
    "run_relay_program": (0x80, pobieranie(PRZEKAZNIKI) + [polecenie("0404", "0004"), MONITOR,
                                                          polecenie("0404", "0001")]),
    "run_timer_program": (0x80, pobieranie(TIMER) + [polecenie("0404", "0004"),
                                                     polecenie("3084", "02000" + "0400")]),
    "switch_on_monitor": (0x05, [polecenie("1A03"), MONITOR]),
    "switch_on_run": (0x86, [polecenie("1A03")]),
    "switch_on_none": (0x07, [polecenie("1A03")]),
    "split_pieces": (0x00, list(polecenie("1A03")) + list(MONITOR[:7]) + [MONITOR[7:]]),
    "two_frames_one_read": (0x00, [polecenie("1A03") + polecenie("1604")]),
    "no_cr": (0x00, ["@00MB1A03" * 20]),
    "flood": (0x08, ["@00MB1A03", polecenie("1A03")]),
    "flood_frames": (0x08, [polecenie("1604")]),
}


# ---- program_scan: line count, scan byte, switches, then header byte + characters per word.

def wejscie_programu(lista: list[str], skany: int = 0x27, przelaczniki: int = 0x5A) -> bytes:
    dane = bytearray([len(lista) & 0xFF, skany, przelaczniki])
    for slowo in lista:
        surowe = slowo.encode("latin-1")
        dane.append(len(surowe))
        dane += surowe
    return bytes(dane)


PROGRAMY = {
    "relay_logic": ["4008", "C008", "2FF1", "8FF1", "20AE", "80AE", "8008", "C009", "20A8", "80A8",
                    "8008", "4009", "20A9", "80A9", "A008", "E009", "20AA", "80AA", "8008", "6009",
                    "20AB", "80AB", "8008", "8009", "1200", "20AC", "80AC", "8008", "8009", "1000",
                    "20AD", "80AD", "8008", "20AF", "A0AF"],
    "set_reset_keep": ["8008", "20A8", "00A8", "8009", "20A9", "20A9", "800A", "800B", "30A8",
                       "C014", "8008", "30A9", "0114", "1801"],
    "pulses": ["8009", "1C0E", "0149", "8009", "1CA6", "0C02", "8008", "1C0D", "0148"],
    "system_bits": ["8FD7", "20A8", "80A8", "8FD5", "20A9", "80A9", "8FD6", "20AA", "80AA",
                    "8FFA", "20AB", "80AB", "8FE8", "20AC", "80AC"],
    "timer": ["8008", "0800", "0030", "9000", "20A8", "80A8"],
    "timer_from_dm": ["8008", "0C00", "0CC8", "9000", "20A8", "80A8"],
    "counter": ["800A", "8008", "8009", "0A03", "0003", "20A9", "80A9", "9003", "20A8", "80A8"],
    "counter_from_hr": ["8008", "8009", "0E04", "0006"],
    "compare": ["8FD5", "1804", "0100", "0200", "8FD5", "1A04", "0200", "0CC8", "8FD5", "1E04",
                "0CC8", "0404", "8FD5", "1804", "DEAD", "0000", "8FFD", "20A8", "80A8"],
    "move": ["8FD5", "1A05", "0042", "0C0A", "8FD5", "1A05", "0042", "0114", "8FD5", "1E05",
             "0CC8", "0006", "8FD5", "1E05", "0404", "0C0A", "8FD5", "1A05", "0042", "13FF",
             "8FD5", "1E05", "0CCA", "0114"],
    "increment_decrement": ["8008", "1CA6", "0C02", "8FD5", "1C26", "0120", "8FD5", "1C27",
                            "0C00", "8FD5", "1C26", "13FF"],
    "rotate": ["8FD5", "1C1B", "0120", "8FD6", "1C1C", "0120", "8FD5", "1C9B", "0CC8", "8FFC",
               "20A8", "80A8"],
    "entries_past_127": ["8FD5", "0880", "0010", "8FD5", "8FD5", "0AFF", "0003", "9080", "20A8",
                         "80A8", "8FD5", "1E05", "13FF", "0CC8", "8FD5", "1C26", "0A10"],
    "end_word": ["8008", "20A8", "80A8", "1801", "8008", "20A9", "80A9"],
    "bad_word": ["8008", "20A8", "80A8", "8Z08"],
    "short_words": ["8", "80", "800", "8008", "20", "20A", "", "1C", "1A05", "00"],
}


# ---- telnet_comport: an operations byte, then pieces of length byte + bytes (0: off/on).

IAC, SB, SE, WILL, DO = 255, 250, 240, 251, 253


def podopcja(dane: bytes) -> bytes:
    return bytes([IAC, SB, 44]) + dane.replace(b"\xff", b"\xff\xff") + bytes([IAC, SE])


def wejscie_telnetu(operacje: int, kawalki: list[bytes]) -> bytes:
    dane = bytearray([operacje])
    for kawalek in kawalki:
        dane.append(len(kawalek))
        dane += kawalek
    return bytes(dane)


# The opening of a pyserial client: its options, then the line it asks for.
OTWARCIE = bytes([IAC, DO, 1, IAC, WILL, 3, IAC, DO, 3, IAC, DO, 44, IAC, WILL, 44])
LINIA_7E2 = (podopcja(b"\x01\x00\x00\x25\x80") + podopcja(b"\x02\x07") + podopcja(b"\x03\x03")
             + podopcja(b"\x04\x02"))

TELNET = {
    "pyserial_open": (1, [OTWARCIE, LINIA_7E2, podopcja(b"\x05\x01"), podopcja(b"\x05\x08"),
                         podopcja(b"\x05\x0b"), podopcja(b"\x0c\x01"), podopcja(b"\x0c\x02"),
                         b"@00MS5A*\r"]),
    "split_everywhere": (1, [bytes([b]) for b in OTWARCIE + LINIA_7E2 + b"@00\xff\xffMS*\r"]),
    "modem_state": (0, [OTWARCIE, podopcja(b"\x0b\xf0"), b"", podopcja(b"\x07"), b"",
                        podopcja(b"\x07")]),
    "rate_with_iac": (1, [OTWARCIE, podopcja(b"\x01\x00\x00\xff\xff"), podopcja(b"\x01\x00\x00\x00\x00")]),
    "every_request": (1, [OTWARCIE] + [podopcja(bytes([k, v])) for k in range(13) for v in (0, 1, 4, 13)]),
    "short_and_unknown": (1, [OTWARCIE, podopcja(b""), podopcja(b"\x01\x00"), podopcja(b"\x02"),
                              podopcja(b"\x63\x01"), bytes([IAC, SB, 44, 1, IAC, IAC])]),
    "suspend_resume": (1, [OTWARCIE, podopcja(b"\x08"), b"", podopcja(b"\x09"), b""]),
    "long_subnegotiation": (1, [OTWARCIE, bytes([IAC, SB, 44, 0]) + b"x" * 250,
                                b"y" * 250, b"z" * 250, bytes([IAC, SE]), b"@00MS5A*\r"]),
}


def main() -> None:
    for nazwa, (operacje, kawalki) in LACZE.items():
        katalog = KORPUS / "hostlink_frames"
        katalog.mkdir(parents=True, exist_ok=True)
        (katalog / nazwa).write_bytes(wejscie_lacza(operacje, kawalki))
    for nazwa, lista in PROGRAMY.items():
        katalog = KORPUS / "program_scan"
        katalog.mkdir(parents=True, exist_ok=True)
        (katalog / nazwa).write_bytes(wejscie_programu(lista))
    # The whole table, every entry a 4-character word, line count 255.
    lista = (PROGRAMY["relay_logic"] * 8)[:255]
    (KORPUS / "program_scan" / "full_table").write_bytes(wejscie_programu(lista, 0x07))
    katalog = KORPUS / "telnet_comport"
    katalog.mkdir(parents=True, exist_ok=True)
    for nazwa, (operacje, kawalki) in TELNET.items():
        (katalog / nazwa).write_bytes(wejscie_telnetu(operacje, kawalki))


if __name__ == "__main__":
    main()
