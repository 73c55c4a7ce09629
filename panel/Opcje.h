#pragma once

#include <QDialog>

#include <cstdint>
#include <filesystem>

class PlikIni;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

// What the options dialog needs of the main window.
class OknoOpcji {
public:
    virtual ~OknoOpcji() = default;
    // Konfiguracja.ini of the data directory, the file the main window reads.
    virtual PlikIni& Konfiguracja() = 0;
    virtual std::uint8_t ModelWUzyciu() const = 0;
    virtual void UstawNaWierzchu(bool naWierzchu) = 0;
    virtual std::filesystem::path PlikDM() const = 0;
    // DM.cpm is to be written at the next window close even without retention.
    virtual void UstawOdbudoweDM() = 0;
};

// The options dialog (instance Opcje): model, start mode, window and DM
// options, stored in Konfiguracja.ini by OK.
class TOpcje : public QDialog {
    Q_OBJECT
public:
    TOpcje(OknoOpcji& okno, QWidget* rodzic);

    QComboBox* cbModelSterownika{};
    QRadioButton* OpcjaProgram{};
    QRadioButton* OpcjaMonitor{};
    QRadioButton* OpcjaRun{};
    QCheckBox* cbZawszeNaWierzchu{};
    QCheckBox* cbDzwieki{};
    QCheckBox* cbKomunikacja{};
    QCheckBox* cbPodtrzymanieLHA{};
    QCheckBox* cbPodtrzymanieDM{};
    QPushButton* Button2{}; // "&Ok"
    QPushButton* Button1{}; // "&Anuluj"

    void Inicjalizacja();
    void OkClick();
    void AnulujClick();
    void OdczytTypuCPU();
    void SprawdzeniePlikuDM();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ZbudujKontrolki();

    OknoOpcji& okno_;
    QButtonGroup* trybStartu_{};
    bool zaladowane_ = false;
};
