#pragma once

#include <QString>

class QWidget;

// The program's own message boxes, each with one OK button.
void KomunikatZwykly(QWidget* rodzic, const QString& tekst);
void KomunikatOstrzezenie(QWidget* rodzic, const QString& tekst);
void KomunikatInformacja(QWidget* rodzic, const QString& tekst);

// The busy cursor for the life of the object, so that a failure on the way
// never leaves it behind.
class KursorZajety {
public:
    KursorZajety();
    ~KursorZajety();
    KursorZajety(const KursorZajety&) = delete;
    KursorZajety& operator=(const KursorZajety&) = delete;
};
