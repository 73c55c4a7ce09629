#include "media/Dzwiek.h"
#include "panel/LampyWyjsc.h"
#include "panel/Okno.h"

#include "engine/CyklPracy.h"
#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parvolen"));

    // What lives for the whole process, beside the window. The worker is
    // destroyed (stopped and joined) before the lamp state it reports to.
    const auto pamiec = std::make_unique<plc::Pamiec>();
    const auto program = std::make_unique<plc::TabelaProgramu>();
    LampyWyjsc lampy([] { OdtworzDzwiek(PlikKliku); });
    plc::TCyklPracy skan(*pamiec, *program, plc::ZegarSystemowy(), lampy);

    TOkno Okno(*pamiec, *program, skan, lampy);
    Okno.show();
    return QApplication::exec();
}
