#pragma once
// The program's one window: header fields, the size N, the grid of A, B, x and A*x - B,
// and the buttons that compute, mirror, print, open and save.
//
// Like the form it is modelled on, the controls are public members named after the design
// (objectName alike); element k of a cell array belongs to index k+1 of the system.

#include <QSet>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "Gleichungssystem.h"
#include "Meldung.h"
#include "Verlauf.h"
#include "Zelle.h"

class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frm_Tovik : public QWidget {
    Q_OBJECT

public:
    using Feldreihe = std::array<Zelle*, tovik::kMaxN>;

    // Builds every control and runs Form_Load; showing the window is the caller's task.
    frm_Tovik();
    ~frm_Tovik() override;

    // Writes Projekt, Position, N, A, B and the solution labels into the window.
    void SystemAnzeigen();
    // Shows and empties the cells of the current N, hides all others.
    void FelderEinrichten();
    // Copies the upper triangle of A onto the lower one and shows the system again.
    void MatrixSymmetrieren();
    // Loads the file as "Öfffnen" loads a chosen one, messages included, and shows the record.
    void DateiLaden(const QString& pfad);
    // Pastes `text` into `zelle` (a cell of A or B): a single value where the cell's cursor is,
    // a block of values over the grid as a spreadsheet pastes it. Text that does not read as
    // numbers, or a block that fits nowhere, is told and changes nothing. False where the text
    // holds nothing but blanks, which the cell takes as it always did.
    bool Einfuegen(Zelle* zelle, const QString& text);
    // N as far as the grid's five places reach.
    static int ImRaster();
    // The eight cell arrays in grid order: rows 1 to 5 of A, B, x and A*x - B.
    static const std::array<Feldreihe frm_Tovik::*, 8> kReihen;
    // Ctrl+Shift+C: the system, and x where computed, as tab-separated lines.
    void SystemKopieren();
    // Ctrl+Z and Ctrl+Shift+Z (Ctrl+Y): the last change of the system taken back, or done again.
    void Rueckgaengig();
    void Wiederherstellen();

    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
           *Label11 = nullptr;
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr;
    Feldreihe Text4{}, Text5{}, Text6{}, Text7{}, Text8{};  // rows 1 to 5 of A
    Feldreihe Text9{};                                      // B
    Feldreihe Text10{};                                     // solution x
    Feldreihe Text11{};                                     // control product A*x - B
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr;
    QFrame *Line1 = nullptr, *Line2 = nullptr, *Line3 = nullptr, *Line4 = nullptr;
    // The one file dialog of Open and Save, made on first use (building it costs a good part
    // of the start-up) and kept, so that it offers the last chosen name again.
    QFileDialog& CommonDialog1();

public slots:
    void Command1_Click();  // Berechnen
    void Command2_Click();  // Drucken
    void Command3_Click();  // Öfffnen
    void Command4_Click();  // Speichern
    void Command5_Click();  // A symmetrisch
    void Command6_Click();  // A * x - B =

protected:
    void resizeEvent(QResizeEvent* ereignis) override;
    void changeEvent(QEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    // How a reading of cells tells a value beyond a double: at every faulty cell (a key
    // release, as always), only at cells whose text changed since they were read, or not at all
    // (before a command, which must not repeat what the user has seen).
    enum class Melden { Alle, Geaenderte, Keine };

    void SteuerelementeAnlegen();     // from the design tables
    void ZwischenablageEinrichten();  // paste, copy and drop
    // Paste, drop and the fields' own menu; true where the event is taken.
    bool AblageEreignis(QObject* objekt, QEvent* ereignis);
    void Form_Load();
    void Form_Resize();
    void Text3_Change();
    void Text1_LostFocus();
    void Text2_LostFocus();
    void Text4_KeyUp(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift);
    void Text5_KeyUp(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift);
    void Text6_KeyUp(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift);
    void Text7_KeyUp(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift);
    void Text8_KeyUp(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift);
    void Text9_KeyUp(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift);

    // Runs a command as its button's click would: every way into one ends here. The command
    // finds every cell read, and what it changes is one step of the undo history.
    void Befehl(const std::function<void()>& befehl);

    // Where the grid meets the record: A(1..N, 1..N) and B(1..N) are what the shown cells read
    // as (Eingabe.cpp).
    // Row 1..5 of A, or 6 for B.
    Feldreihe& Reihe(int zeile) { return this->*kReihen[zeile - 1]; }
    // Reads elements 0..N-1 of a row of cells into the record.
    void ZeileLesen(int zeile, Melden melden);
    // Every row with a cell changed since it was read.
    void GeaenderteLesen();
    // Every row, without a message.
    void AllesLesen();
    // A user's change of a field's text, whatever way it came.
    void FeldBearbeitet(QLineEdit* feld);
    // Writes A and B of the record into the shown cells and reads them back, so that the record
    // is what they show (15 digits) from the start.
    void WerteZeigen();
    // Writes A, B and the solution labels into the grid (all five rows of each column 1..N).
    void ZellenFuellen();
    // Shows the cells of the current N and hides all others, texts untouched.
    void Sichtbarkeit();
    // The fields of the undo history, in its order, and the state they hold.
    std::array<QLineEdit*, tovik::kFelder> Felder() const;
    tovik::Stand Erfassen() const;
    void Anwenden(const tovik::Stand& stand);
    // Ends the run of typing: what changed since the last step becomes one.
    void Grenze();
    // Client area in twips; 0 while minimized.
    double ClientBreite() const;
    double ClientHoehe() const;

    tovik::MeldungsHook vorherigeMeldung_;
    QFileDialog* dateidialog_ = nullptr;
    QSet<int> gedrueckt_;            // keys that went down in this window and are not up yet
    bool loesungGezeigt_ = false;    // the solution column shows the x of a successful solve
    QSet<QLineEdit*> geaendert_;     // cells whose text changed since their row was read
    bool nFeldSperre_ = false;       // the program writes the N field and sets N itself
    bool programmSchreibt_ = false;  // the program writes fields and keeps the record in step
    tovik::Verlauf verlauf_;
    QLineEdit* offenesFeld_ = nullptr;  // the field of the run of typing not yet a step
};
