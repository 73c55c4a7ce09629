/* Preloaded into Wine's processes so that Windows serial code works on a
 * pseudo-terminal slave, which is what the simulator's port is on this side.
 *
 * A pty has no modem lines: TIOCMGET and its kin fail with ENOTTY, and Wine
 * takes that as a cancelled wait (error 995) or an unsupported mask (error 50).
 * Here a pty slave answers as the end of a null-modem cable to a powered
 * controller: CTS, DSR and DCD on, RI off, DTR and RTS as last set, no line
 * errors counted, and a wait for a line change that lasts until the line hangs
 * up. A pty also keeps CS8 and no parity whatever is asked, and glibc's
 * tcsetattr then reports EINVAL although the kernel applied the rest; such a
 * call is taken as done when everything a pty keeps reads back as asked.
 *
 * Every other request, and every descriptor that is not a pty slave, passes
 * through untouched: children of Wine inherit this library too. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdbool.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

/* UNIX98 pty slaves, /dev/pts/N: majors 136 to 143. */
enum { PIERWSZY_MAJOR_PTS = 136, OSTATNI_MAJOR_PTS = 143 };

/* The device of a pty slave; false for any other descriptor. */
static bool JestPty(int fd, dev_t* urzadzenie) {
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        return false;
    }
    const unsigned int numer = major(st.st_rdev);
    *urzadzenie = st.st_rdev;
    return numer >= PIERWSZY_MAJOR_PTS && numer <= OSTATNI_MAJOR_PTS;
}

/* DTR and RTS are kept per line, not per descriptor: Wine may reach the same
 * line through several descriptors. A line seen for the first time has both
 * on, as a UART has after open. */
enum { LINII = 16 };
static struct {
    dev_t urzadzenie;
    int wyjscia;
} linie[LINII];
static int liniiZajetych;
static pthread_mutex_t blokadaLinii = PTHREAD_MUTEX_INITIALIZER;

static const int WyjsciaModemu = TIOCM_DTR | TIOCM_RTS;

/* Called with blokadaLinii held. */
static int* WyjsciaLinii(dev_t urzadzenie) {
    for (int i = 0; i < liniiZajetych; ++i) {
        if (linie[i].urzadzenie == urzadzenie) {
            return &linie[i].wyjscia;
        }
    }
    /* More lines than slots: the first slot is reused. */
    const int wolny = liniiZajetych < LINII ? liniiZajetych++ : 0;
    linie[wolny].urzadzenie = urzadzenie;
    linie[wolny].wyjscia = WyjsciaModemu;
    return &linie[wolny].wyjscia;
}

/* The lines never change, so the wait ends only when the line hangs up or a
 * signal arrives, as it would on a real port whose lines stay put. */
static int CzekajNaZmianeLinii(int fd) {
    struct pollfd p = {.fd = fd, .events = 0, .revents = 0};
    if (poll(&p, 1, -1) < 0) {
        return -1;
    }
    errno = EIO;
    return -1;
}

/* One of the modem-line requests on a pty slave, answered as the cable would. */
static int OdpowiedzLinii(int fd, dev_t urzadzenie, unsigned long zadanie, void* argument) {
    if (zadanie == TIOCGICOUNT) {
        memset(argument, 0, sizeof(struct serial_icounter_struct));
        return 0;
    }
    if (zadanie == TIOCMIWAIT) {
        return CzekajNaZmianeLinii(fd);
    }
    int* bity = argument;
    pthread_mutex_lock(&blokadaLinii);
    int* wyjscia = WyjsciaLinii(urzadzenie);
    switch (zadanie) {
    case TIOCMGET:
        *bity = TIOCM_CTS | TIOCM_DSR | TIOCM_CAR | *wyjscia;
        break;
    case TIOCMSET:
        *wyjscia = *bity & WyjsciaModemu;
        break;
    case TIOCMBIS:
        *wyjscia |= *bity & WyjsciaModemu;
        break;
    default:
        *wyjscia &= ~*bity;
        break;
    }
    pthread_mutex_unlock(&blokadaLinii);
    return 0;
}

static bool ZadanieLinii(unsigned long zadanie) {
    return zadanie == TIOCMGET || zadanie == TIOCMSET || zadanie == TIOCMBIS ||
           zadanie == TIOCMBIC || zadanie == TIOCGICOUNT || zadanie == TIOCMIWAIT;
}

typedef int (*FunkcjaIoctl)(int, unsigned long, ...);
typedef int (*FunkcjaTcsetattr)(int, int, const struct termios*);

/* The next definition of the name, looked up once. POSIX lets dlsym's
 * object pointer hold a function; ISO C has no cast between the two. */
static void* Nastepna(_Atomic(void*)* zapamietana, const char* nazwa) {
    void* funkcja = atomic_load_explicit(zapamietana, memory_order_acquire);
    if (funkcja == NULL) {
        funkcja = dlsym(RTLD_NEXT, nazwa);
        atomic_store_explicit(zapamietana, funkcja, memory_order_release);
    }
    return funkcja;
}

static int Ioctl(_Atomic(void*)* nastepna, const char* nazwa, int fd, unsigned long zadanie,
                 void* argument) {
    dev_t urzadzenie;
    if (ZadanieLinii(zadanie) && JestPty(fd, &urzadzenie)) {
        return OdpowiedzLinii(fd, urzadzenie, zadanie, argument);
    }
    void* const adres = Nastepna(nastepna, nazwa);
    if (adres == NULL) {
        errno = ENOSYS;
        return -1;
    }
    FunkcjaIoctl prawdziwa;
    memcpy(&prawdziwa, &adres, sizeof prawdziwa);
    return prawdziwa(fd, zadanie, argument);
}

static _Atomic(void*) nastepnyIoctl;

int ioctl(int fd, unsigned long zadanie, ...) {
    va_list argumenty;
    va_start(argumenty, zadanie);
    void* argument = va_arg(argumenty, void*);
    va_end(argumenty);
    return Ioctl(&nastepnyIoctl, "ioctl", fd, zadanie, argument);
}

#if __TIMESIZE == 32
static _Atomic(void*) nastepnyIoctlTime64;

/* 32-bit programs built with 64-bit time, Debian's 32-bit Wine among them,
 * call this name instead of ioctl. */
int __ioctl_time64(int fd, unsigned long zadanie, ...) {
    va_list argumenty;
    va_start(argumenty, zadanie);
    void* argument = va_arg(argumenty, void*);
    va_end(argumenty);
    return Ioctl(&nastepnyIoctlTime64, "__ioctl_time64", fd, zadanie, argument);
}
#endif

/* The bits of c_cflag that a pty does not keep as asked. */
static const tcflag_t PomijaneNaPty = CSIZE | PARENB | PARODD | CMSPAR | CREAD;

static bool UstawioneJakZadano(const struct termios* zadane, const struct termios* odczytane) {
    if (zadane->c_iflag != odczytane->c_iflag || zadane->c_oflag != odczytane->c_oflag ||
        zadane->c_lflag != odczytane->c_lflag ||
        (zadane->c_cflag & ~PomijaneNaPty) != (odczytane->c_cflag & ~PomijaneNaPty) ||
        cfgetospeed(zadane) != cfgetospeed(odczytane)) {
        return false;
    }
    /* An input speed of 0 asks for the output speed. */
    if (cfgetispeed(zadane) != 0 && cfgetispeed(zadane) != cfgetispeed(odczytane)) {
        return false;
    }
    /* The control characters the kernel keeps; glibc fills the rest itself. */
    return memcmp(zadane->c_cc, odczytane->c_cc, VEOL2 + 1) == 0;
}

static _Atomic(void*) nastepnyTcsetattr;

int tcsetattr(int fd, int kiedy, const struct termios* ustawienia) {
    void* const adres = Nastepna(&nastepnyTcsetattr, "tcsetattr");
    if (adres == NULL) {
        errno = ENOSYS;
        return -1;
    }
    FunkcjaTcsetattr prawdziwa;
    memcpy(&prawdziwa, &adres, sizeof prawdziwa);
    const int wynik = prawdziwa(fd, kiedy, ustawienia);
    const bool znaneKiedy = kiedy == TCSANOW || kiedy == TCSADRAIN || kiedy == TCSAFLUSH;
    dev_t urzadzenie;
    if (wynik == 0 || errno != EINVAL || !znaneKiedy || !JestPty(fd, &urzadzenie)) {
        return wynik;
    }
    struct termios odczytane;
    if (tcgetattr(fd, &odczytane) != 0 || !UstawioneJakZadano(ustawienia, &odczytane)) {
        errno = EINVAL;
        return -1;
    }
    return 0;
}
