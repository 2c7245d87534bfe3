#include "app/help_popups.hpp"

#include "app/form_main.hpp"

namespace ludrin::app {
namespace {

using ui::hints::THintIcon;

// Leading blanks and line breaks are part of the texts: they lay the balloons out.
constexpr std::wstring_view kTitleBase = L"  Installazione Ludrin - Base.";
constexpr std::wstring_view kTitleComplete = L"  Installazione Funzionalit\u00E0 Avanzate.";

constexpr std::wstring_view kMessageBase =
    L"\r\nCliccare su questo pulsante per procedere con l'istallazione Base di Ludrin.\r\n"
    L"\r\n"
    L"               L'ISTALLAZIONE BASE NON RICHIEDE DIRITTI AMMINISTRATIVI.\r\n"
    L"IL PROGRAMMA VERR\u00C0 INSTALLATO NELLA CARTELLA DOCUMENTI DELL'UTENTE.\r\n"
    L"         VERR\u00C0 CREATO CONTESTUALMENTE UN COLLEGAMENTO SUL DESKTOP.\r\n"
    L"\r\n"
    L"L'istallazione Base contiene ed utilizza la maggior parte dei Codec Audio pi\u00F9 "
    L"diffusi :\r\n"
    L"- wav, mpa, mp3, wm, wma, cda, ogg, dsf, mka, oga, spx, tta, flac, asf audio, opus ed "
    L"altri\r\n"
    L"e molti dei Codec Video pi\u00F9 comuni :\r\n"
    L"- avi, mpeg, mpg, mp4, vob, asf video, divx, xvid ed altri.\r\n"
    L"\r\n"
    L"L'istallazione Base \u00E8 sufficiente quindi per le normali modalit\u00E0 di utilizzo.\r\n"
    L"\r\n"
    L"Se invece, per la creazione del Prodotto Multimediale (es: Fascicolo Digitale),\r\n"
    L"sono stati utilizzati stream Audio/Video con codifiche avanzate come ad esempio :\r\n"
    L"- Audio: dts, dff, mpc o altri\r\n"
    L"- Video: ts, m2ts, mts, wmv, 3gp, flv, webm, mkv, mov o altri\r\n"
    L"\r\n"
    L"sar\u00E0 necessario allora, con privileggi amministrativi, installare le Funzionalit\u00E0 "
    L"Avanzate.\r\n";

constexpr std::wstring_view kMessageComplete =
    L"\r\nCliccare su questo pulsante per procedere all'istallazione delle Funzionalit\u00E0 "
    L"Avanzate.\r\n"
    L"\r\n"
    L"             PER PROCEDERE DEVE ESSERE GI\u00C0 STATA EFFETTUATA L'ISTALLAZIONE BASE.\r\n"
    L"L'ISTALLAZIONE DELLE FUNZIONALIT\u00C0 AVANZATE RICHIEDE PRIVILEGGI AMMINISTRATIVI.\r\n"
    L"\r\n"
    L"Le Funzionalit\u00E0 Avanzate renderanno disponibili i Filtri, i Codec e i Plugin "
    L"aggiuntivi\r\n"
    L"necessari alla decodifica di qualsiasi stream Audio/Video.\r\n";

} // namespace

HelpItemText HelpItem(int index) {
    return index == 0 ? HelpItemText{kTitleBase, kMessageBase}
                      : HelpItemText{kTitleComplete, kMessageComplete};
}

void TFormMain::CreateHelpBalloons() {
    mhint.Position = ui::hints::THintPosition::hpAboveLeft;
    mhint.RightAngledNose = true;
    mhint.NoseLength = 30;
    mhint.NoseWidth = 30;
    mhint.RoundRectWidth = 25;
    mhint.BorderColor = ui::hints::kNavy;
    mhint.SetAllowMultipleHints(true);
    mhint.SetSetCapture(false);
    MessageHintController.MessageHintControl = &mhint;
    for (int i = 0; i < 2; ++i) {
        MessageHintController.Items.Add().Icon = THintIcon::hitInfo;
    }
    MessageHintController.Items[1].SetDisplayOrder(1);
}

void TFormMain::FillHelpItems() {
    auto& items = MessageHintController.Items;
    items[0].Title = HelpItem(0).title;
    items[1].Title = HelpItem(1).title;
    items[0].MessageString = HelpItem(0).message;
    items[1].MessageString = HelpItem(1).message;
    items[0].Control = view_.HintControlOf(ControlId::btnInstallaBase);
    items[1].Control = view_.HintControlOf(ControlId::btnInstallaComplete);
}

void TFormMain::HideHelpBalloons() {
    MessageHintController.HideMessages(0);
    MessageHintController.HideMessages(1);
}

void TFormMain::btnHelpBaseClick() {
    if (mhint.IsDisplaying()) {
        MessageHintController.HideMessages(1);
    }
    MessageHintController.ShowMessages(0);
}

void TFormMain::btnHelpCompleteClick() {
    if (mhint.IsDisplaying()) {
        MessageHintController.HideMessages(0);
    }
    MessageHintController.ShowMessages(1);
}

} // namespace ludrin::app
