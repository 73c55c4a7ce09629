/* The project's Win32 test client: talks to the simulator through a COM port
 * the way Windows programming software does, so that what Wine makes of the
 * serial calls can be tried on the real program.
 *
 * The port is opened overlapped and set to 9600 7E2; an event thread loops on
 * an overlapped WaitCommEvent with EV_RXCHAR, EV_CTS and EV_DSR and gathers
 * what arrives; the main thread writes a frame and waits for the reply's CR.
 *
 * Usage: parvolen-com [--port COMn] STEP...
 *   sprawdz          the modem lines read, a wait pends, the status read is answered
 *   status[=MODE]    status read; MODE is PROGRAM, MONITOR or RUN
 *   identyfikacja    identity read, one of the three models
 *   program, run     mode change
 *   pobierz          download of a 60-word program, its upload compared word by word
 *   monitor=AAbb:V   monitor reads of one item until it reads V (8 characters), 20 s at most
 *   pomiar=N         N status reads; prints the median round trip
 *
 * Exit status: 0 done; 1 a wrong reply; 2 usage; 3 the port does not open;
 * 4 a serial call failed; 5 no reply. The message names what failed. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum {
    Gotowe = 0,
    ZlaOdpowiedz = 1,
    ZleWywolanie = 2,
    PortNieOtwarty = 3,
    BladWywolania = 4,
    BrakOdpowiedzi = 5,
};

enum { CzasOdpowiedziMs = 2000, CzasOczekiwaniaMs = 300, CzasMonitoraMs = 20000 };

static const char Potwierdzenie[] = "@00MB000400004B*\r";
static const char* const Statusy[] = {
    "@00MB00110000010E01000000000000000000003A*\r",
    "@00MB00110000020E010000000000000000000039*\r",
    "@00MB00110000040E01000000000000000000003F*\r",
};
static const char* const NazwyTrybow[] = {"PROGRAM", "MONITOR", "RUN"};
static const char* const Identyfikacje[] = {
    "@00MB008F1E0001FF3F631B01FF19FF0000,"
    "090243504D312D31304344522020202020203936313232342030312E323012*\r",
    "@00MB008F1E0001FF3F631B01FF19FF0000,"
    "091243504D312D32304344522020202020203937303630362030312E333015*\r",
    "@00MB008F1E0001FF3F631B01FF19FF0000,"
    "092243504D312D33304344522020202020203936313232342030312E323012*\r",
};

/* What failed, for the exit message. */
static void Blad(const char* wywolanie, DWORD kod) {
    fprintf(stderr, "%s failed: error %lu\n", wywolanie, (unsigned long)kod);
}

/* The port and the event thread's share of it. */
typedef struct {
    HANDLE port;
    HANDLE watek;
    HANDLE koniec;   /* set by the main thread to end the event thread */
    HANDLE odebrano; /* set by the event thread when a CR has arrived */
    HANDLE awaria;   /* set by the event thread when its wait failed */
    const char* wywolanieAwarii;
    DWORD kodAwarii;
    CRITICAL_SECTION blokada;
    char bufor[4096]; /* received and not yet taken, under blokada */
    size_t dlugosc;
    LONG wybudzen; /* completed waits */
} Port;

static void Awaria(Port* p, const char* wywolanie, DWORD kod) {
    p->wywolanieAwarii = wywolanie;
    p->kodAwarii = kod;
    SetEvent(p->awaria);
}

/* Everything waiting in the receive queue, appended to the buffer. */
static BOOL CzytajOczekujace(Port* p, OVERLAPPED* ov) {
    for (;;) {
        DWORD bledy = 0;
        COMSTAT stan;
        if (!ClearCommError(p->port, &bledy, &stan)) {
            Awaria(p, "ClearCommError", GetLastError());
            return FALSE;
        }
        if (stan.cbInQue == 0) {
            return TRUE;
        }
        char dane[512];
        DWORD ile = stan.cbInQue < sizeof dane ? stan.cbInQue : (DWORD)sizeof dane;
        DWORD przeczytane = 0;
        if (!ReadFile(p->port, dane, ile, NULL, ov) && GetLastError() != ERROR_IO_PENDING) {
            Awaria(p, "ReadFile", GetLastError());
            return FALSE;
        }
        if (!GetOverlappedResult(p->port, ov, &przeczytane, TRUE)) {
            Awaria(p, "ReadFile", GetLastError());
            return FALSE;
        }
        EnterCriticalSection(&p->blokada);
        if (p->dlugosc + przeczytane <= sizeof p->bufor) {
            memcpy(p->bufor + p->dlugosc, dane, przeczytane);
            p->dlugosc += przeczytane;
        }
        const BOOL jestCR = memchr(p->bufor, '\r', p->dlugosc) != NULL;
        LeaveCriticalSection(&p->blokada);
        if (jestCR) {
            SetEvent(p->odebrano);
        }
    }
}

static DWORD WINAPI WatekZdarzen(LPVOID argument) {
    Port* p = argument;
    OVERLAPPED ovZdarzenia = {0};
    OVERLAPPED ovOdczytu = {0};
    ovZdarzenia.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    ovOdczytu.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    for (;;) {
        DWORD maska = 0;
        DWORD ile = 0;
        ResetEvent(ovZdarzenia.hEvent);
        BOOL zakonczone = WaitCommEvent(p->port, &maska, &ovZdarzenia);
        if (!zakonczone && GetLastError() == ERROR_IO_PENDING) {
            zakonczone = GetOverlappedResult(p->port, &ovZdarzenia, &ile, TRUE);
        }
        const DWORD kod = GetLastError();
        if (WaitForSingleObject(p->koniec, 0) == WAIT_OBJECT_0) {
            break;
        }
        if (!zakonczone) {
            Awaria(p, "WaitCommEvent", kod);
            break;
        }
        InterlockedIncrement(&p->wybudzen);
        if ((maska & EV_RXCHAR) && !CzytajOczekujace(p, &ovOdczytu)) {
            break;
        }
    }
    CloseHandle(ovZdarzenia.hEvent);
    CloseHandle(ovOdczytu.hEvent);
    return 0;
}

/* Opens and sets up the port and starts the event thread; an exit status. */
static int Otworz(Port* p, const char* nazwa) {
    char sciezka[64];
    snprintf(sciezka, sizeof sciezka, "\\\\.\\%s", nazwa);
    p->port = CreateFileA(sciezka, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, NULL);
    if (p->port == INVALID_HANDLE_VALUE) {
        Blad("CreateFileA", GetLastError());
        return PortNieOtwarty;
    }
    DCB dcb = {0};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(p->port, &dcb)) {
        Blad("GetCommState", GetLastError());
        return BladWywolania;
    }
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fBinary = TRUE;
    dcb.fParity = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    if (!SetCommState(p->port, &dcb)) {
        Blad("SetCommState", GetLastError());
        return BladWywolania;
    }
    /* Reads return at once with what has arrived. */
    COMMTIMEOUTS czasy = {MAXDWORD, 0, 0, 0, 1000};
    if (!SetCommTimeouts(p->port, &czasy)) {
        Blad("SetCommTimeouts", GetLastError());
        return BladWywolania;
    }
    if (!PurgeComm(p->port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT)) {
        Blad("PurgeComm", GetLastError());
        return BladWywolania;
    }
    DWORD linie = 0;
    if (!GetCommModemStatus(p->port, &linie)) {
        Blad("GetCommModemStatus", GetLastError());
        return BladWywolania;
    }
    const DWORD kabel = MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON;
    if ((linie & (kabel | MS_RING_ON)) != kabel) {
        fprintf(stderr, "GetCommModemStatus: lines 0x%02lX, CTS, DSR and DCD expected\n",
                (unsigned long)linie);
        return BladWywolania;
    }
    if (!EscapeCommFunction(p->port, SETDTR)) {
        Blad("EscapeCommFunction(SETDTR)", GetLastError());
        return BladWywolania;
    }
    if (!SetCommMask(p->port, EV_RXCHAR | EV_CTS | EV_DSR)) {
        Blad("SetCommMask", GetLastError());
        return BladWywolania;
    }
    InitializeCriticalSection(&p->blokada);
    p->koniec = CreateEventA(NULL, TRUE, FALSE, NULL);
    p->odebrano = CreateEventA(NULL, FALSE, FALSE, NULL);
    p->awaria = CreateEventA(NULL, TRUE, FALSE, NULL);
    p->watek = CreateThread(NULL, 0, WatekZdarzen, p, 0, NULL);
    if (p->watek == NULL) {
        Blad("CreateThread", GetLastError());
        return BladWywolania;
    }
    return Gotowe;
}

static void Zamknij(Port* p) {
    if (p->watek != NULL) {
        /* A new event mask ends the pending wait, as programming software does
         * it. Wine may take the new mask for a wait that it is only starting,
         * which then waits on; the next new mask ends that one. */
        SetEvent(p->koniec);
        do {
            SetCommMask(p->port, 0);
        } while (WaitForSingleObject(p->watek, 100) == WAIT_TIMEOUT);
        CloseHandle(p->watek);
        CloseHandle(p->koniec);
        CloseHandle(p->odebrano);
        CloseHandle(p->awaria);
        DeleteCriticalSection(&p->blokada);
    }
    if (p->port != INVALID_HANDLE_VALUE) {
        CloseHandle(p->port);
    }
}

static int ZglosAwarie(const Port* p) {
    Blad(p->wywolanieAwarii, p->kodAwarii);
    return BladWywolania;
}

/* Sends a frame and takes the reply up to its CR into odpowiedz; an exit status. */
static int Zapytaj(Port* p, const char* ramka, char* odpowiedz, size_t rozmiar) {
    EnterCriticalSection(&p->blokada);
    p->dlugosc = 0;
    LeaveCriticalSection(&p->blokada);
    ResetEvent(p->odebrano);

    OVERLAPPED ov = {0};
    ov.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD zapisane = 0;
    const DWORD dlugosc = (DWORD)strlen(ramka);
    BOOL zapisano = WriteFile(p->port, ramka, dlugosc, NULL, &ov);
    if (!zapisano && GetLastError() == ERROR_IO_PENDING) {
        zapisano = GetOverlappedResult(p->port, &ov, &zapisane, TRUE);
    } else if (zapisano) {
        zapisano = GetOverlappedResult(p->port, &ov, &zapisane, FALSE);
    }
    const DWORD kodZapisu = GetLastError();
    CloseHandle(ov.hEvent);
    if (!zapisano || zapisane != dlugosc) {
        Blad("WriteFile", kodZapisu);
        return BladWywolania;
    }

    HANDLE czekane[2] = {p->odebrano, p->awaria};
    const DWORD wynik = WaitForMultipleObjects(2, czekane, FALSE, CzasOdpowiedziMs);
    if (wynik == WAIT_OBJECT_0 + 1) {
        return ZglosAwarie(p);
    }
    if (wynik != WAIT_OBJECT_0) {
        fprintf(stderr, "no reply to %.*s\n", (int)strcspn(ramka, "\r"), ramka);
        return BrakOdpowiedzi;
    }
    EnterCriticalSection(&p->blokada);
    const size_t doCR = (size_t)((const char*)memchr(p->bufor, '\r', p->dlugosc) - p->bufor) + 1;
    const size_t ile = doCR < rozmiar ? doCR : rozmiar - 1;
    memcpy(odpowiedz, p->bufor, ile);
    odpowiedz[ile] = '\0';
    memmove(p->bufor, p->bufor + doCR, p->dlugosc - doCR);
    p->dlugosc -= doCR;
    LeaveCriticalSection(&p->blokada);
    return Gotowe;
}

/* The exclusive OR of the text's characters, two uppercase hex digits. */
static void Fcs(const char* tekst, size_t dlugosc, char wynik[3]) {
    unsigned x = 0;
    for (size_t i = 0; i < dlugosc; ++i) {
        x ^= (unsigned char)tekst[i];
    }
    snprintf(wynik, 3, "%02X", x);
}

/* The text with its FCS and "*" CR, or CR alone when more frames follow. */
static void Ramka(char* ramka, size_t rozmiar, const char* tekst, BOOL ostatnia) {
    char fcs[3];
    Fcs(tekst, strlen(tekst), fcs);
    snprintf(ramka, rozmiar, "%s%s%s", tekst, fcs, ostatnia ? "*\r" : "\r");
}

/* Sends the command text as one frame; the reply must be the expected one. */
static int Oczekuj(Port* p, const char* tekst, BOOL ostatnia, const char* oczekiwana) {
    char ramka[512];
    char odpowiedz[512];
    Ramka(ramka, sizeof ramka, tekst, ostatnia);
    const int wynik = Zapytaj(p, ramka, odpowiedz, sizeof odpowiedz);
    if (wynik != Gotowe) {
        return wynik;
    }
    if (strcmp(odpowiedz, oczekiwana) != 0) {
        fprintf(stderr, "%s answered %s\n", tekst, odpowiedz);
        return ZlaOdpowiedz;
    }
    return Gotowe;
}

static int Status(Port* p, const char* tryb) {
    char ramka[64];
    char odpowiedz[512];
    Ramka(ramka, sizeof ramka, "@00MB1A03", TRUE);
    const int wynik = Zapytaj(p, ramka, odpowiedz, sizeof odpowiedz);
    if (wynik != Gotowe) {
        return wynik;
    }
    for (int i = 0; i < 3; ++i) {
        if (strcmp(odpowiedz, Statusy[i]) == 0) {
            printf("status %s\n", NazwyTrybow[i]);
            if (tryb != NULL && strcmp(tryb, NazwyTrybow[i]) != 0) {
                fprintf(stderr, "status %s, %s expected\n", NazwyTrybow[i], tryb);
                return ZlaOdpowiedz;
            }
            return Gotowe;
        }
    }
    fprintf(stderr, "the status read answered %s\n", odpowiedz);
    return ZlaOdpowiedz;
}

static int Identyfikacja(Port* p) {
    char ramka[64];
    char odpowiedz[512];
    Ramka(ramka, sizeof ramka, "@00MB2D04", TRUE);
    const int wynik = Zapytaj(p, ramka, odpowiedz, sizeof odpowiedz);
    if (wynik != Gotowe) {
        return wynik;
    }
    for (int i = 0; i < 3; ++i) {
        if (strcmp(odpowiedz, Identyfikacje[i]) == 0) {
            printf("identity CPU %d0\n", i + 1);
            return Gotowe;
        }
    }
    fprintf(stderr, "the identity read answered %s\n", odpowiedz);
    return ZlaOdpowiedz;
}

/* Inputs 00-07 copied to outputs 010.00-07; eleven rungs on the always-on
 * bit drive work bits of IR 020; a load and an and; END. */
enum { Slow = 60 };
static void ProgramTestowy(char slowa[Slow][5]) {
    int k = 0;
    for (int n = 0; n < 8; ++n) {
        snprintf(slowa[k++], 5, "80%02X", 8 + n);
        snprintf(slowa[k++], 5, "20A%X", 8 + n);
        snprintf(slowa[k++], 5, "8000");
    }
    for (int n = 0; n < 11; ++n) {
        snprintf(slowa[k++], 5, "8FD5");
        snprintf(slowa[k++], 5, "214%X", 8 + n % 8);
        snprintf(slowa[k++], 5, "8000");
    }
    snprintf(slowa[k++], 5, "8008");
    snprintf(slowa[k++], 5, "C009");
    snprintf(slowa[k], 5, "1801");
}

/* A reply frame's FCS must be the one of its text. */
static BOOL FcsZgodne(const char* odpowiedz) {
    size_t dlugosc = strlen(odpowiedz);
    dlugosc -= (dlugosc >= 2 && odpowiedz[dlugosc - 2] == '*') ? 2 : 1;
    if (dlugosc < 2) {
        return FALSE;
    }
    char fcs[3];
    Fcs(odpowiedz, dlugosc - 2, fcs);
    return memcmp(fcs, odpowiedz + dlugosc - 2, 2) == 0;
}

/* The download: a first frame of 23 words, then frames of up to 31, each
 * answered with a lone CR and the last with the acknowledgement. */
static int Pobieranie(Port* p, char slowa[Slow][5]) {
    char tekst[256];
    int k = 0;
    snprintf(tekst, sizeof tekst, "@00MB1286%02X0000000", 2 * Slow);
    for (int ile = 23; k < Slow; ile = 31) {
        for (int i = 0; i < ile && k < Slow; ++i) {
            strcat(tekst, slowa[k++]);
        }
        const BOOL ostatnia = k == Slow;
        const int wynik = Oczekuj(p, tekst, ostatnia, ostatnia ? Potwierdzenie : "\r");
        if (wynik != Gotowe) {
            return wynik;
        }
        tekst[0] = '\0';
    }
    return Gotowe;
}

/* The upload: the first frame carries 102 characters of program text after
 * its 24-character head; the rest of a long program comes in parts of 128
 * characters, asked for with a frame without "@" that no other answer takes. */
static int Wysylanie(Port* p, char slowa[Slow][5]) {
    char ramka[64];
    char odpowiedz[512];
    char program[4 * Slow + 256];
    size_t znakow = 0;
    Ramka(ramka, sizeof ramka, "@00MB1107", TRUE);
    int wynik = Zapytaj(p, ramka, odpowiedz, sizeof odpowiedz);
    if (wynik != Gotowe) {
        return wynik;
    }
    if (strlen(odpowiedz) != 129 || strncmp(odpowiedz, "@00MB00890000000080", 19) != 0 ||
        !FcsZgodne(odpowiedz)) {
        fprintf(stderr, "the upload's first frame is %s\n", odpowiedz);
        return ZlaOdpowiedz;
    }
    memcpy(program, odpowiedz + 24, 102);
    znakow = 102;
    while (znakow < 4 * Slow) {
        wynik = Zapytaj(p, "?\r", odpowiedz, sizeof odpowiedz);
        if (wynik != Gotowe) {
            return wynik;
        }
        if (strlen(odpowiedz) != 131 || !FcsZgodne(odpowiedz)) {
            fprintf(stderr, "an upload part is %s\n", odpowiedz);
            return ZlaOdpowiedz;
        }
        memcpy(program + znakow, odpowiedz, 128);
        znakow += 128;
    }
    for (int k = 0; k < Slow; ++k) {
        if (strncmp(program + 4 * k, slowa[k], 4) != 0) {
            fprintf(stderr, "uploaded word %d is %.4s, %s was downloaded\n", k, program + 4 * k,
                    slowa[k]);
            return ZlaOdpowiedz;
        }
    }
    printf("upload of %d words matches the download\n", Slow);
    return Gotowe;
}

static int PobierzIWyslij(Port* p) {
    char slowa[Slow][5];
    ProgramTestowy(slowa);
    const int wynik = Pobieranie(p, slowa);
    return wynik != Gotowe ? wynik : Wysylanie(p, slowa);
}

/* Monitor reads of one item, "AAbb:VVVVVVVV", until it reads as given. The
 * first value read is printed at once, so that a script may then change it. */
static int Monitor(Port* p, const char* argument) {
    if (strlen(argument) != 13 || argument[4] != ':') {
        fprintf(stderr, "monitor=AAbb:VVVVVVVV expected, not %s\n", argument);
        return ZleWywolanie;
    }
    char tekst[32];
    char ramka[64];
    char odpowiedz[512];
    snprintf(tekst, sizeof tekst, "@00MB308402000%.4s", argument);
    Ramka(ramka, sizeof ramka, tekst, TRUE);
    const ULONGLONG koniec = GetTickCount64() + CzasMonitoraMs;
    char pierwsza[9] = "";
    do {
        const int wynik = Zapytaj(p, ramka, odpowiedz, sizeof odpowiedz);
        if (wynik != Gotowe) {
            return wynik;
        }
        if (strlen(odpowiedz) != 26 || strncmp(odpowiedz, "@00MB00840200,", 14) != 0 ||
            !FcsZgodne(odpowiedz)) {
            fprintf(stderr, "the monitor read answered %s\n", odpowiedz);
            return ZlaOdpowiedz;
        }
        if (pierwsza[0] == '\0') {
            memcpy(pierwsza, odpowiedz + 14, 8);
            printf("monitor %.4s %s\n", argument, pierwsza);
            fflush(stdout);
        }
        if (strncmp(odpowiedz + 14, argument + 5, 8) == 0) {
            printf("monitor %.4s %.8s\n", argument, argument + 5);
            return Gotowe;
        }
        Sleep(50);
    } while (GetTickCount64() < koniec);
    fprintf(stderr, "monitor %.4s still reads %.8s, not %s\n", argument, odpowiedz + 14,
            argument + 5);
    return ZlaOdpowiedz;
}

static int PorownajCzasy(const void* a, const void* b) {
    const LONGLONG x = *(const LONGLONG*)a;
    const LONGLONG y = *(const LONGLONG*)b;
    return (x > y) - (x < y);
}

/* The median status round trip, from the write to the reply's CR. */
static int Pomiar(Port* p, const char* argument) {
    const int ile = atoi(argument);
    if (ile <= 0) {
        fprintf(stderr, "pomiar=N expected, not %s\n", argument);
        return ZleWywolanie;
    }
    LONGLONG* czasy = calloc((size_t)ile, sizeof *czasy);
    if (czasy == NULL) {
        return BladWywolania;
    }
    LARGE_INTEGER czestotliwosc;
    QueryPerformanceFrequency(&czestotliwosc);
    char ramka[64];
    char odpowiedz[512];
    Ramka(ramka, sizeof ramka, "@00MB1A03", TRUE);
    int wynik = Gotowe;
    for (int i = 0; i < ile && wynik == Gotowe; ++i) {
        LARGE_INTEGER przed;
        LARGE_INTEGER po;
        QueryPerformanceCounter(&przed);
        wynik = Zapytaj(p, ramka, odpowiedz, sizeof odpowiedz);
        QueryPerformanceCounter(&po);
        czasy[i] = po.QuadPart - przed.QuadPart;
    }
    if (wynik == Gotowe) {
        qsort(czasy, (size_t)ile, sizeof *czasy, PorownajCzasy);
        const double us = 1e6 / (double)czestotliwosc.QuadPart;
        printf("status round trip over %d frames: median %.0f us, min %.0f us, max %.0f us\n", ile,
               (double)czasy[ile / 2] * us, (double)czasy[0] * us, (double)czasy[ile - 1] * us);
    }
    free(czasy);
    return wynik;
}

/* With no traffic, the event thread's wait must stay pending: a wait that
 * ends by itself is a cancelled one, or a spinning one. */
static int Sprawdz(Port* p) {
    Sleep(CzasOczekiwaniaMs);
    if (WaitForSingleObject(p->awaria, 0) == WAIT_OBJECT_0) {
        return ZglosAwarie(p);
    }
    const LONG wybudzen = InterlockedCompareExchange(&p->wybudzen, 0, 0);
    if (wybudzen != 0) {
        fprintf(stderr, "WaitCommEvent ended %ld times with nothing received\n", (long)wybudzen);
        return BladWywolania;
    }
    printf("modem lines CTS, DSR, DCD; the wait pends\n");
    return Status(p, NULL);
}

static int Krok(Port* p, const char* krok) {
    if (strcmp(krok, "sprawdz") == 0) {
        return Sprawdz(p);
    }
    if (strcmp(krok, "status") == 0) {
        return Status(p, NULL);
    }
    if (strncmp(krok, "status=", 7) == 0) {
        return Status(p, krok + 7);
    }
    if (strcmp(krok, "identyfikacja") == 0) {
        return Identyfikacja(p);
    }
    if (strcmp(krok, "program") == 0) {
        return Oczekuj(p, "@00MB04040001", TRUE, Statusy[2]);
    }
    if (strcmp(krok, "run") == 0) {
        return Oczekuj(p, "@00MB04040004", TRUE, Potwierdzenie);
    }
    if (strcmp(krok, "pobierz") == 0) {
        return PobierzIWyslij(p);
    }
    if (strncmp(krok, "monitor=", 8) == 0) {
        return Monitor(p, krok + 8);
    }
    if (strncmp(krok, "pomiar=", 7) == 0) {
        return Pomiar(p, krok + 7);
    }
    fprintf(stderr, "unknown step %s\n", krok);
    return ZleWywolanie;
}

int main(int argc, char** argv) {
    setvbuf(stdout, NULL, _IONBF, 0);
    const char* nazwa = "COM1";
    int pierwszy = 1;
    if (argc > 2 && strcmp(argv[1], "--port") == 0) {
        nazwa = argv[2];
        pierwszy = 3;
    }
    if (pierwszy >= argc) {
        fprintf(stderr, "usage: parvolen-com [--port COMn] STEP...\n");
        return ZleWywolanie;
    }
    Port p = {.port = INVALID_HANDLE_VALUE};
    int wynik = Otworz(&p, nazwa);
    for (int i = pierwszy; i < argc && wynik == Gotowe; ++i) {
        wynik = Krok(&p, argv[i]);
    }
    Zamknij(&p);
    return wynik;
}
