#pragma once
// The installer's message boxes, of its operations and of a damaged start: text, caption
// and flags as shown. Every one is top-most. Line breaks are CR LF.

#include "app/form_view.hpp"
#include "app/message_flags.hpp"

namespace ludrin::app {

struct OperationMessage {
    const wchar_t* text;
    const wchar_t* caption;
    unsigned flags;
};

inline int ShowOperationMessage(FormView& view, const OperationMessage& message) {
    return view.ShowMessage(message.text, message.caption, message.flags);
}

// Uninstallation.
inline constexpr OperationMessage kUninstallPlayerRunning{
    L"SPIACENTE!\r\n\r\nLudrin risulta essere Attivo.\r\n\r\nNon posso procedere alla "
    L"disinstallazione.\r\n\r\nChiudere Ludrin e riprovare.",
    L"Ludrin - Disinstallazione.", kMbTopMost | kMbIconWarning | kMbOk};

inline constexpr OperationMessage kUninstallNotInstalled{
    L"Spiacente!\r\n\r\nLudrin non risulta essere Installato.", L" Disinstallazione Non Possibile.",
    kMbTopMost | kMbIconInformation | kMbOk};

inline constexpr OperationMessage kUninstallConfirm{
    L"ATTENZIONE!\r\n\r\nQUESTA FUNZIONE DISINSTALLER\u00C0 IN AUTOMATICO LUDRIN.\r\n\r\n"
    L"TUTTE LE EVENTUALI IMPOSTAZIONI PERSONALI SARANNO ELIMINATE.\r\n\r\n"
    L"SEI SICURO DI VOLER CONTINUARE ?",
    L"Ludrin - Disinstallazione.", kMbTopMost | kMbIconQuestion | kMbYesNo};

inline constexpr OperationMessage kUninstallDone{
    L"OK!\r\n\r\nLudrin \u00E8 stato Disinstallato Correttamente.",
    L" Disinstallazione Avvenuta con Successo.", kMbTopMost | kMbIconInformation | kMbOk};

// Shown instead of the success message when something that was to go is still there.
inline constexpr OperationMessage kUninstallIncomplete{
    L"ATTENZIONE!\r\n\r\nAlcuni file di Ludrin non sono stati rimossi.\r\n\r\n"
    L"Chiudere i programmi che potrebbero utilizzarli e riprovare.",
    L" Disinstallazione Incompleta.", kMbTopMost | kMbIconWarning | kMbOk};

// Base installation.
inline constexpr OperationMessage kBaseDone{
    L"OK!\r\n\r\nLudrin \u00E8 stato Installato Correttamente.",
    L" Installazione Avvenuta con Successo.", kMbTopMost | kMbIconInformation | kMbOk};

inline constexpr OperationMessage kBaseFailed{
    L"ERRORE- Qualcosa non ha funzionato!\r\n\r\nLudrin NON \u00E8 stato Installato "
    L"Correttamente.",
    L" Installazione Errata.", kMbTopMost | kMbIconError | kMbOk};

// Advanced features installation.
inline constexpr OperationMessage kAdvancedNotInstalled{
    L"SPIACENTE!\r\n\r\nLudrin non risulta Installato.\r\n\r\nNon posso procedere.",
    L" Installazione Funzionalit\u00E0 Avanzate.", kMbTopMost | kMbIconWarning | kMbOk};

inline constexpr OperationMessage kAdvancedPlayerRunning{
    L"SPIACENTE!\r\n\r\nLudrin risulta essere Attivo.\r\n\r\nNon posso procedere.\r\n\r\n"
    L"Chiudere Ludrin e riprovare.",
    L"Ludrin Installazione Funzionalit\u00E0 Avanzate.", kMbTopMost | kMbIconWarning | kMbOk};

inline constexpr OperationMessage kAdvancedDone{
    L"OK!\r\n\r\nFunzionalit\u00E0 Avanzate Ludrin Installate Correttamente.",
    L" Installazione Avvenuta con Successo.", kMbTopMost | kMbIconInformation | kMbOk};

inline constexpr OperationMessage kAdvancedFailed{
    L"ERRORE- Qualcosa non ha funzionato!\r\n\r\nLe Funzionalit\u00E0 Avanzate di Ludrin non "
    L"sono state Installate Correttamente.",
    L" Installazione Errata.", kMbTopMost | kMbIconError | kMbOk};

// Any other action that broke off halfway (a help balloon, closing).
inline constexpr OperationMessage kActionFailed{L"ERRORE- Qualcosa non ha funzionato!",
                                                L" Installazione Ludrin.",
                                                kMbTopMost | kMbIconError | kMbOk};

// Start-up with a missing or damaged payload: DamagedInstallerText puts the technical
// reason after the text.
inline constexpr OperationMessage kDamagedInstaller{
    L"ERRORE- Il programma di installazione \u00E8 danneggiato.", L" Installazione Ludrin.",
    kMbOk | kMbIconError | kMbTopMost};

} // namespace ludrin::app
