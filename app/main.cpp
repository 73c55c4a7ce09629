#include "app/BladStartu.h"
#include "app/Ikona.h"
#include "dane/KatalogDanych.h"
#include "dane/PlikiWspolne.h"
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
    QGuiApplication::setDesktopFileName(QStringLiteral(PARVOLEN_ID));
    QApplication::setWindowIcon(IkonaProgramu());

    // The window names its files in the data directory; it must be there, with
    // its files, before the window is made.
    try {
        PrzygotujKatalogDanych(MiejscaDanychSystemu());
    } catch (const BladKataloguDanych& blad) {
        return KatalogDanychNiedostepny(blad);
    }

    // What lives for the whole process, beside the window. The worker is
    // destroyed (stopped and joined) before the lamp state it reports to. The
    // click is played on the worker, so the directories it is looked for in
    // are settled here, on this thread.
    const auto pamiec = std::make_unique<plc::Pamiec>();
    const auto program = std::make_unique<plc::TabelaProgramu>();
    LampyWyjsc lampy([katalogi = KatalogiPlikowWspolnych()] {
        if (const auto klik = ZnajdzPlik(PlikKliku, katalogi)) {
            OdtworzDzwiek(*klik);
        }
    });
    plc::TCyklPracy skan(*pamiec, *program, plc::ZegarSystemowy(), lampy);

    TOkno Okno(*pamiec, *program, skan, lampy);
    Okno.show();
    return QApplication::exec();
}
