#include "Komunikaty.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void Pokaz(QWidget* rodzic, QMessageBox::Icon ikona, const QString& tekst) {
    QMessageBox okno(ikona, QApplication::applicationDisplayName(), tekst, QMessageBox::Ok, rodzic);
    okno.exec();
}

} // namespace

void KomunikatZwykly(QWidget* rodzic, const QString& tekst) {
    Pokaz(rodzic, QMessageBox::NoIcon, tekst);
}

void KomunikatOstrzezenie(QWidget* rodzic, const QString& tekst) {
    Pokaz(rodzic, QMessageBox::Warning, tekst);
}

void KomunikatInformacja(QWidget* rodzic, const QString& tekst) {
    Pokaz(rodzic, QMessageBox::Information, tekst);
}

KursorZajety::KursorZajety() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

KursorZajety::~KursorZajety() {
    QApplication::restoreOverrideCursor();
}
