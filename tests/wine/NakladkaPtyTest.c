/* The preload library on a real pty pair, run with the library preloaded
 * through $LIB from the staged tree, as parvolen-wine does it: a pty slave
 * gets the lines of a null-modem cable and its 7E2 settings applied, while
 * every other descriptor keeps what the kernel says. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <pty.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/time.h>
#include <termios.h>
#include <unistd.h>

static int bledy;

#define SPRAWDZ(warunek)                                                                           \
    do {                                                                                           \
        if (!(warunek)) {                                                                          \
            fprintf(stderr, "%s:%d: %s (errno %d: %s)\n", __FILE__, __LINE__, #warunek, errno,     \
                    strerror(errno));                                                              \
            ++bledy;                                                                               \
        }                                                                                          \
    } while (0)

typedef struct {
    int master;
    int slave;
} Para;

static Para OtworzPare(void) {
    Para para;
    if (openpty(&para.master, &para.slave, NULL, NULL, NULL) != 0) {
        perror("openpty");
        exit(1);
    }
    return para;
}

static int Linie(int fd) {
    int linie = -1;
    SPRAWDZ(ioctl(fd, TIOCMGET, &linie) == 0);
    return linie;
}

static const int Kabel = TIOCM_CTS | TIOCM_DSR | TIOCM_CAR;

static void LiniePtyToKabelZWyjsciamiJakUstawiono(void) {
    Para para = OtworzPare();
    SPRAWDZ(Linie(para.slave) == (Kabel | TIOCM_DTR | TIOCM_RTS));

    int dtr = TIOCM_DTR;
    SPRAWDZ(ioctl(para.slave, TIOCMBIC, &dtr) == 0);
    SPRAWDZ(Linie(para.slave) == (Kabel | TIOCM_RTS));

    /* The outputs belong to the line: a second descriptor of it sees them. */
    int drugi = open(ptsname(para.master), O_RDWR | O_NOCTTY);
    SPRAWDZ(drugi >= 0);
    SPRAWDZ(Linie(drugi) == (Kabel | TIOCM_RTS));
    SPRAWDZ(ioctl(drugi, TIOCMBIS, &dtr) == 0);
    SPRAWDZ(Linie(para.slave) == (Kabel | TIOCM_DTR | TIOCM_RTS));

    /* Only DTR and RTS can be set; the input lines stay as the cable gives them. */
    int wszystkie = TIOCM_RNG | TIOCM_CTS | TIOCM_RTS;
    SPRAWDZ(ioctl(para.slave, TIOCMSET, &wszystkie) == 0);
    SPRAWDZ(Linie(para.slave) == (Kabel | TIOCM_RTS));

    /* Another pair is another line, with both outputs on. */
    Para inna = OtworzPare();
    SPRAWDZ(Linie(inna.slave) == (Kabel | TIOCM_DTR | TIOCM_RTS));

    close(drugi);
    close(inna.slave);
    close(inna.master);
    close(para.slave);
    close(para.master);
}

static void BezBledowLinii(void) {
    Para para = OtworzPare();
    struct serial_icounter_struct liczniki;
    memset(&liczniki, 0xFF, sizeof liczniki);
    SPRAWDZ(ioctl(para.slave, TIOCGICOUNT, &liczniki) == 0);
    SPRAWDZ(liczniki.frame == 0 && liczniki.parity == 0 && liczniki.overrun == 0 &&
            liczniki.brk == 0 && liczniki.rx == 0 && liczniki.tx == 0 && liczniki.cts == 0);
    close(para.slave);
    close(para.master);
}

static void PrzerwijCzekanie(int sygnal) {
    (void)sygnal;
}

/* A wait for a line change lasts while the line is up, and ends with EIO
 * once the other side has hung up. */
static void CzekanieNaZmianeLiniiTrwaDoRozlaczenia(void) {
    Para para = OtworzPare();
    struct sigaction akcja;
    memset(&akcja, 0, sizeof akcja);
    akcja.sa_handler = PrzerwijCzekanie;
    sigaction(SIGALRM, &akcja, NULL);
    const struct itimerval za200ms = {{0, 0}, {0, 200000}};
    setitimer(ITIMER_REAL, &za200ms, NULL);
    errno = 0;
    SPRAWDZ(ioctl(para.slave, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR) == -1 && errno == EINTR);

    close(para.master);
    errno = 0;
    SPRAWDZ(ioctl(para.slave, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR) == -1 && errno == EIO);
    close(para.slave);
}

/* The modem requests on descriptors that are not pty slaves, the master
 * side included, get what the kernel answers. */
static void InneDeskryptoryBezZmian(void) {
    int rura[2];
    SPRAWDZ(pipe(rura) == 0);
    const int nic = open("/dev/null", O_RDWR);
    SPRAWDZ(nic >= 0);
    Para para = OtworzPare();
    const int deskryptory[] = {rura[0], nic, para.master};
    for (size_t i = 0; i < sizeof deskryptory / sizeof deskryptory[0]; ++i) {
        int linie = 0;
        struct serial_icounter_struct liczniki;
        errno = 0;
        SPRAWDZ(ioctl(deskryptory[i], TIOCMGET, &linie) == -1 && errno == ENOTTY);
        errno = 0;
        SPRAWDZ(ioctl(deskryptory[i], TIOCMBIS, &linie) == -1 && errno == ENOTTY);
        errno = 0;
        SPRAWDZ(ioctl(deskryptory[i], TIOCGICOUNT, &liczniki) == -1 && errno == ENOTTY);
    }
    /* Other requests on a pty slave pass through. */
    int czeka = -1;
    SPRAWDZ(ioctl(para.slave, FIONREAD, &czeka) == 0 && czeka == 0);
    struct winsize okno = {.ws_row = 24, .ws_col = 80, .ws_xpixel = 0, .ws_ypixel = 0};
    SPRAWDZ(ioctl(para.slave, TIOCSWINSZ, &okno) == 0);
    struct winsize odczytane;
    SPRAWDZ(ioctl(para.master, TIOCGWINSZ, &odczytane) == 0 && odczytane.ws_col == 80);
    close(para.slave);
    close(para.master);
    close(nic);
    close(rura[0]);
    close(rura[1]);
}

static struct termios Ustawienia7E2(int fd) {
    struct termios t;
    SPRAWDZ(tcgetattr(fd, &t) == 0);
    cfmakeraw(&t);
    t.c_cflag = (t.c_cflag & ~(tcflag_t)CSIZE) | CS7 | PARENB | CSTOPB | CREAD | CLOCAL;
    t.c_cflag &= ~(tcflag_t)PARODD;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    return t;
}

/* 9600 7E2 as every client of the line sets it: glibc refuses the second
 * and later calls on a pty, which keeps CS8 and no parity. */
static void Ustawienia7E2RazZaRazem(void) {
    Para para = OtworzPare();
    const struct termios t = Ustawienia7E2(para.slave);
    for (int i = 0; i < 3; ++i) {
        SPRAWDZ(tcsetattr(para.slave, TCSANOW, &t) == 0);
    }
    struct termios odczytane;
    SPRAWDZ(tcgetattr(para.slave, &odczytane) == 0);
    SPRAWDZ((odczytane.c_cflag & CSTOPB) != 0 && cfgetospeed(&odczytane) == B9600);

    /* An unknown moment for the change is still refused. */
    errno = 0;
    SPRAWDZ(tcsetattr(para.slave, 99, &t) == -1 && errno == EINVAL);
    close(para.slave);
    close(para.master);

    int rura[2];
    SPRAWDZ(pipe(rura) == 0);
    errno = 0;
    SPRAWDZ(tcsetattr(rura[0], TCSANOW, &t) == -1 && errno == ENOTTY);
    close(rura[0]);
    close(rura[1]);
}

int main(void) {
    LiniePtyToKabelZWyjsciamiJakUstawiono();
    BezBledowLinii();
    CzekanieNaZmianeLiniiTrwaDoRozlaczenia();
    InneDeskryptoryBezZmian();
    Ustawienia7E2RazZaRazem();
    if (bledy != 0) {
        fprintf(stderr, "%d checks failed\n", bledy);
        return 1;
    }
    return 0;
}
