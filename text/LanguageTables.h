// Every language-dependent text of the program: pairs of texts (French, English)
// and the choice lists of the drop-down lists. The program looks texts up by table,
// never by key or by text; the keys below only name the tables.
//
// The source is UTF-8; every text is representable in Windows-1252, the code page
// the texts are written in when they leave the program (see Windows1252.h).
#pragma once

#include <array>
#include <cstddef>

namespace vantor {

// Language index: 0 French, 1 English. Any other value reads as French; callers
// are expected never to pass one.
struct BilingualText {
    const char* french;
    const char* english;
    constexpr const char* text(int language) const { return language == 1 ? english : french; }
};

// 26 slots, room for 13 choices in each language. A single-language list holds its
// N choices in slots 0..N-1; a bilingual one holds the N French choices followed by
// the N English ones. Unused slots hold "", never nullptr. The list knows its own
// count of choices and whether it is bilingual, so no use of it repeats them.
struct ChoiceList {
    std::array<const char*, 26> texts;
    int count = 0;
    bool bilingual = false;
};

// Text of choice `index` of a list used with `count` choices: slot index, or
// index + count * language for a bilingual list. nullptr when index is not below
// count, is negative, or the slot falls outside the list; the caller then shows
// its own placeholder. The language is used as given, so it must be 0 or 1.
const char* choiceText(const ChoiceList& list, int count, bool bilingual, int index, int language);

// The same with the list's own count and languages.
inline const char* choiceText(const ChoiceList& list, int index, int language)
{
    return choiceText(list, list.count, list.bilingual, index, language);
}

namespace lang {

namespace detail {

template <std::size_t N>
constexpr ChoiceList singleList(const char* const (&texts)[N])
{
    static_assert(N <= 26);
    ChoiceList list{};
    for (auto& slot : list.texts)
        slot = "";
    for (std::size_t i = 0; i < N; ++i)
        list.texts[i] = texts[i];
    list.count = static_cast<int>(N);
    return list;
}

// Both halves must have the same length, or the English choices would be shifted.
template <std::size_t N>
constexpr ChoiceList bilingualList(const char* const (&french)[N], const char* const (&english)[N])
{
    static_assert(2 * N <= 26);
    ChoiceList list{};
    for (auto& slot : list.texts)
        slot = "";
    for (std::size_t i = 0; i < N; ++i) {
        list.texts[i] = french[i];
        list.texts[N + i] = english[i];
    }
    list.count = static_cast<int>(N);
    list.bilingual = true;
    return list;
}

}  // namespace detail

// ---- Choice lists: number of choices, and the dialogs that show them.

// Single-language, 7 choices; CAN settings.
inline constexpr ChoiceList ListCanBitRate = detail::singleList(
    {"1 MHz", "500 KHz", "250 KHz", "125 KHz", "62.5 KHz", "31.25 KHz", "15.625 KHz"});
// Single-language, 8 choices; factory settings, comparison.
inline constexpr ChoiceList ListFrequency = detail::singleList(
    {"2MHz", "1 MHz", "500KHz", "250KHz", "125KHz", "62.5KHz", "31.25KHz", "15.625KHz"});
// Bilingual, 7 choices; factory settings, comparison.
// The double space in "Tx U.  Rx U." is part of the text.
inline constexpr ChoiceList ListTxRxMode = detail::bilingualList(
    {"TxRx AM./AV.", "Tx AM. Rx AV.", "Tx AV. Rx AM.", "Tx AV. Rx AV.", "Tx AM. Rx AM.", "Rx AM.", "Rx AV."},
    {"TxRx U./D.", "Tx U. Rx D.", "Tx D. Rx U.", "Tx D. Rx D.", "Tx U.  Rx U.", "Rx D.", "Rx U."});
// Bilingual, 2 choices; factory settings, comparison.
inline constexpr ChoiceList ListFunction = detail::bilingualList(
    {"Mesure", "Simulation"},
    {"Measure", "Simulation"});
// Single-language, 6 choices; factory settings, comparison.
inline constexpr ChoiceList ListInstrumentLanguage = detail::singleList(
    {"Français", "English", "Español", "Italiano", "Deutsch", "Português"});
// Bilingual, 7 choices; calibration, comparison.
inline constexpr ChoiceList ListRelayType = detail::bilingualList(
    {"Ouvert", "Totalisateur 1", "Totalisateur 2", "Défaut Débit", "Sens Débit", "Seuil Débit", "Fermé"},
    {"Open", "TOT. 1", "TOT. 2", "Fault Q", "Dir. Q", "Alarm Q", "Close"});
// Single-language, 12 choices; calibration, comparison.
inline constexpr ChoiceList ListPulseWidth = detail::singleList(
    {"17 ms", "33 ms", "50 ms", "67 ms", "83 ms", "100 ms", "117 ms", "133 ms", "150 ms", "167 ms", "183 ms", "200 ms"});
// Bilingual, 10 choices; calibration, comparison, measurement.
inline constexpr ChoiceList ListTotalizerUnit = detail::bilingualList(
    {"cl", "dl", "1l", "10l", "100l", "1m3", "10m3", "100m3", "USGal", "UKGal"},
    {"cl", "dl", "1l", "10l", "100l", "1m3", "10m3", "100m3", "USGal", "UKGal"});
// Single-language, 3 choices; calibration, comparison, measurement.
inline constexpr ChoiceList ListTotalizerSign = detail::singleList(
    {"(+/-)", "(+)", "(-)"});
// Bilingual, 2 choices; calibration, comparison.
inline constexpr ChoiceList ListAutoManual = detail::bilingualList(
    {"Automatique", "Manuel"},
    {"Automatic", "Manual"});
// Bilingual, 12 choices; calibration, factory settings, comparison, measurement, logger conversion.
// " l/s" and " l/h" begin with a space on purpose.
inline constexpr ChoiceList ListFlowUnit = detail::bilingualList(
    {" l/s", "l/mn", " l/h", "m3/s", "m3/h", "m3/j", "USGl/s", "USGl/h", "USGl/j", "UKGl/s", "UKGl/h", "UKGl/j"},
    {" l/s", "l/mn", " l/h", "m3/s", "m3/h", "m3/d", "USGl/s", "USGl/h", "USGl/d", "UKGl/s", "UKGl/h", "UKGl/d"});
// Bilingual, 2 choices; calibration, comparison.
inline constexpr ChoiceList ListProduct = detail::bilingualList(
    {"Eau", "Autre"},
    {"Water", "Other"});
// Bilingual, 2 choices; calibration, comparison.
inline constexpr ChoiceList ListManualAuto = detail::bilingualList(
    {"Manuel", "Automatique"},
    {"Manual", "Automatic"});
// Bilingual, 2 choices; calibration, comparison.
inline constexpr ChoiceList ListStopOn = detail::bilingualList(
    {"Front", "Zero"},
    {"Rising Edge", "Zero Crossing"});
// Bilingual, 3 choices; calibration, comparison.
// Two spaces before the bracket.
inline constexpr ChoiceList ListMounting = detail::bilingualList(
    {"Direct  (/)", "Reflex1  (V)", "Reflex2  (W)"},
    {"Direct  (/)", "Reflex1  (V)", "Reflex2  (W)"});
// Bilingual, 13 choices; calibration, comparison.
inline constexpr ChoiceList ListMaterial = detail::bilingualList(
    {"Nylon", "Teflon", "Polyethy.", "Plexi", "Pvc", "Verre", "Cuivre", "Fonte", "Fonte Grise", "Inox", "Acier", "Aluminium", "Fibrociment"},
    {"Nylon", "Ptfe", "Polyethy.", "Plexi", "Pvc", "Glass", "Copper", "Cast Iron", "Gray C.Iron", "St. Steel", "Steel", "Aluminium", "Asbestos"});
// Bilingual, 2 choices; calibration, comparison.
inline constexpr ChoiceList ListPolarity = detail::bilingualList(
    {"Inverse", "Normal"},
    {"Reverse", "Normal"});
// Single-language, 2 choices; measurement.
inline constexpr ChoiceList ListHardware = detail::singleList(
    {"Vantor-H", "Vantor-K"});
// Single-language, 4 choices; measurement.
// A model index past the list shows "*****" (ChoiceText gives nullptr).
inline constexpr ChoiceList ListModel = detail::singleList(
    {"Vantor-A", "Vantor-B", "Vantor-G", "Vantor-P"});
// Bilingual, 2 choices; measurement.
inline constexpr ChoiceList ListFaultState = detail::bilingualList(
    {"Pas de Défaut", "Défaut"},
    {"No Fault", "Fault"});
// Bilingual, 2 choices; measurement.
inline constexpr ChoiceList ListAutoManuTag = detail::bilingualList(
    {"(Auto)", "(Manu)"},
    {"(Auto)", "(Manu)"});
// Single-language, 6 choices; options.
inline constexpr ChoiceList ListBauds = detail::singleList(
    {"300", "600", "1200", "2400", "4800", "9600"});
// Single-language, 4 choices; options.
inline constexpr ChoiceList ListCom = detail::singleList(
    {"Com1", "Com2", "Com3", "Com4"});
// Single-language, 2 choices; options.
inline constexpr ChoiceList ListLanguage = detail::singleList(
    {"Français", "English"});

// ---- Text pairs, grouped by the dialog or function that shows them.

// Main menu
inline constexpr BilingualText MenuAbout{"À &propos de ...", "&About ..."};
inline constexpr BilingualText MenuOptions{"&Configuration", "&Options"};
inline constexpr BilingualText MenuInitialization{"&Initialisation", "&Initialization"};
inline constexpr BilingualText MenuMakerSettings{"Réglage &HYDROMAST", "&HYDROMAST Settings"};
inline constexpr BilingualText MenuFactorySettings{"&Réglage Usine", "&Factory Settings"};
inline constexpr BilingualText MenuCan{"&CAN", "C&AN"};
inline constexpr BilingualText MenuConfiguration{"É&talonnage", "&Configuration"};
inline constexpr BilingualText MenuMeasurement{"&Mesure", "&Measurement"};
inline constexpr BilingualText MenuDialogue{"&Dialogue", "&Dialogue"};
inline constexpr BilingualText MenuLink{"&Liaison", "&Link"};
inline constexpr BilingualText MenuExit{"&Quitter", "E&xit"};
inline constexpr BilingualText MenuNew{"&Nouveau", "&New"};
inline constexpr BilingualText MenuOpen{"&Ouvrir", "&Open"};
inline constexpr BilingualText MenuFile{"&Fichier", "&File"};

// File dialogs: file types, and the stem of new file names
inline constexpr BilingualText FileNewPrefix{"Nouveau", "New"};
inline constexpr BilingualText FileCanSettings{"Fichier Réglage CAN", "CAN Settings File"};
inline constexpr BilingualText FileMakerSettings{"Fichier Réglage HYDROMAST", "HYDROMAST Settings File"};
inline constexpr BilingualText FileFactorySettings{"Fichier Réglage Usine", "Factory Settings File"};
inline constexpr BilingualText FileCalibration{"Fichier Étalonnage", "Calibration File"};
inline constexpr BilingualText FileMeasurement{"Fichier Mesure", "Measurement File"};

// What went wrong with a file; the path follows the text.
inline constexpr BilingualText FileCannotWrite{"Impossible d'écrire le fichier\n", "Cannot write the file\n"};
inline constexpr BilingualText FileCannotRead{"Impossible de lire le fichier\n", "Cannot read the file\n"};
inline constexpr BilingualText FileReplace{"Ce fichier existe déjà. Le remplacer ?\n", "This file already exists. Replace it?\n"};
inline constexpr BilingualText FileInvalid{"Ce fichier n'a pas le format attendu :\n",
                                           "This file does not have the expected format:\n"};
inline constexpr BilingualText FileSameAsInput{"Le fichier de sortie est le fichier d'entrée :\n",
                                               "The output file is the input file:\n"};
inline constexpr BilingualText MeasFileTooShort{"Ce fichier est trop court pour être un fichier mesure :\n",
                                                "This file is too short to be a measurement file:\n"};
inline constexpr BilingualText MeasFileBadLength{"La longueur d'enregistrement de ce fichier n'est pas celle d'une mesure :\n",
                                                 "The record length of this file is not that of a measurement:\n"};
inline constexpr BilingualText MeasFileNoRecord{"Ce fichier ne contient aucun enregistrement complet :\n",
                                                "This file holds no whole record:\n"};
inline constexpr BilingualText MeasCannotRecord{"L'enregistrement est arrêté : impossible d'écrire le fichier\n",
                                                "Recording stopped: cannot write the file\n"};
inline constexpr BilingualText ConvNothingConverted{"Aucun enregistrement n'a été converti.\n", "No record was converted.\n"};
inline constexpr BilingualText ConvCannotStart{"Impossible de lancer le tableur\n", "Cannot start the spreadsheet program\n"};
// A report or converted file written with no spreadsheet program to open it.
inline constexpr BilingualText NoSpreadsheet{"Aucun tableur n'est choisi pour l'ouvrir : Configuration > Tableur.",
                                             "No spreadsheet program is set to open it: Options > SpreadSheet."};
inline constexpr BilingualText ConvDone{"Fichier converti :\n", "File converted:\n"};

// Why a transaction with the instrument failed, one text for each reason.
inline constexpr BilingualText LinkNoFailure{"pas d'erreur", "no failure"};
inline constexpr BilingualText LinkPortMissing{"port absent", "port missing"};
inline constexpr BilingualText LinkPortBusy{"port occupé", "port busy"};
inline constexpr BilingualText LinkPortDenied{"accès au port refusé", "permission denied"};
inline constexpr BilingualText LinkPortUnavailable{"port impossible à ouvrir", "port cannot be opened"};
inline constexpr BilingualText LinkConnectRefused{"connexion refusée", "connection refused"};
inline constexpr BilingualText LinkHostUnreachable{"hôte injoignable", "host unreachable"};
inline constexpr BilingualText LinkHostUnknown{"hôte inconnu", "unknown host"};
inline constexpr BilingualText LinkConnectTimeout{"pas de réponse du serveur", "no answer from the server"};
inline constexpr BilingualText LinkCannotConnect{"connexion impossible à %s : %s", "cannot connect to %s: %s"};
inline constexpr BilingualText LinkOverlap{"une autre transaction est en cours", "another transaction is running"};
inline constexpr BilingualText LinkBadRequest{"requête trop longue", "request too long"};
inline constexpr BilingualText LinkSendFailed{"envoi impossible", "send failed"};
inline constexpr BilingualText LinkNoAnswer{"pas de réponse", "no answer"};
inline constexpr BilingualText LinkWrongLength{"mauvaise réponse (longueur)", "bad reply (wrong length)"};
inline constexpr BilingualText LinkBadCrc{"mauvaise réponse (CRC)", "bad reply (CRC)"};
inline constexpr BilingualText LinkBadReply{"mauvaise réponse (adresse, fonction ou nombre d'une autre demande)",
                                            "bad reply (address, function or count of another request)"};
inline constexpr BilingualText LinkException{"requête refusée par l'instrument", "request refused by the instrument"};
inline constexpr BilingualText LinkJoinGroup{" (rejoindre le groupe %s)", " (join the group %s)"};
// The frames as the link window shows them; vantorctl --trace and a saved
// link log keep the English words.
inline constexpr BilingualText TraceSent{"envoi", "sent"};
inline constexpr BilingualText TraceReceived{"reçu", "recv"};
inline constexpr BilingualText TraceGood{"bon", "good"};
inline constexpr BilingualText TraceSendFailed{"envoi impossible", "send failed"};
inline constexpr BilingualText TraceSilence{"silence", "silence"};
inline constexpr BilingualText TraceWrongLength{"longueur fausse", "wrong length"};
inline constexpr BilingualText TraceBadCrc{"CRC faux", "bad CRC"};
inline constexpr BilingualText TraceBadReply{"autre demande", "mismatch"};
inline constexpr BilingualText TraceException{"exception", "exception"};
// The main window's status line: the outcome of each operation on the
// instrument, its time or its reason; the port, speed and address used follow
// after a dash (see StatusLine).
inline constexpr BilingualText StatusRead{"Lu à %s", "Read at %s"};
inline constexpr BilingualText StatusReadFailed{"Lecture impossible : %s", "Read failed: %s"};
inline constexpr BilingualText StatusUploaded{"Téléchargé et vérifié à %s", "Uploaded and checked at %s"};
inline constexpr BilingualText StatusNewAddress{"Téléchargé et vérifié à %s : l'unité répond maintenant à l'adresse %d",
                                                "Uploaded and checked at %s: the unit now answers at address %d"};
inline constexpr BilingualText StatusNotHeld{"Téléchargé à %s, mais l'unité ne garde pas toutes les valeurs",
                                             "Uploaded at %s, but the unit does not hold every value"};
inline constexpr BilingualText StatusUploadFailed{"Téléchargement impossible : %s", "Upload failed: %s"};
inline constexpr BilingualText StatusInitialised{"Initialisation faite à %s", "Initialised at %s"};
inline constexpr BilingualText StatusInitNewAddress{"Initialisation faite à %s : l'unité répond maintenant à l'adresse %d",
                                                    "Initialised at %s: the unit now answers at address %d"};
inline constexpr BilingualText StatusInitFailed{"Initialisation impossible : %s", "Initialisation failed: %s"};
inline constexpr BilingualText StatusNowAt{" ; l'unité répond maintenant à l'adresse %d",
                                           "; the unit now answers at address %d"};
inline constexpr BilingualText StatusMeasuring{"Mesure en cours depuis %s", "Measuring since %s"};
inline constexpr BilingualText StatusPollFailed{"Communication interrompue : %s", "Communication Failure: %s"};
inline constexpr BilingualText StatusMeasureStopped{"Mesure arrêtée à %s", "Measurement stopped at %s"};
// The counts that follow it, one and several: polls answered, polls that failed.
inline constexpr BilingualText StatusReading{", %lld relevé", ", %lld reading"};
inline constexpr BilingualText StatusReadings{", %lld relevés", ", %lld readings"};
inline constexpr BilingualText StatusFailedPoll{", %lld échec", ", %lld failed"};
inline constexpr BilingualText StatusFailedPolls{", %lld échecs", ", %lld failed"};
inline constexpr BilingualText StatusUnitFound{"Unité trouvée à %s", "Unit found at %s"};
inline constexpr BilingualText StatusNoUnit{"Détection à %s : aucune unité trouvée", "Connect at %s: no unit found"};
// A typed number outside its limits: the field, what was typed, what is kept, which limit.
inline constexpr BilingualText StatusClamped{"%s : %s ramené à %s (%s)", "%s: %s brought to %s (%s)"};
inline constexpr BilingualText LimitMinimum{"minimum", "minimum"};
inline constexpr BilingualText LimitMaximum{"maximum", "maximum"};

// Options dialog and unit detection
inline constexpr BilingualText OptBrowse{"Parcourir", "Browse"};
inline constexpr BilingualText OptSpreadSheet{"Tableur", "SpreadSheet"};
inline constexpr BilingualText OptLanguage{"Langue", "Language"};
inline constexpr BilingualText OptBauds{"Bauds", "Bauds"};
inline constexpr BilingualText OptCom{"Com", "Com"};
inline constexpr BilingualText OptJbus{"Jbus", "Jbus"};
inline constexpr BilingualText OptCaption{"Configuration", "Options"};
inline constexpr BilingualText OptConnectSuccess{"La détection a réussi", "Connect successful"};
inline constexpr BilingualText OptConnectFailure{"La détection a échoué", "Connect Failure"};
// The scan while it runs, one line a port: its name, then the speed tried or found.
inline constexpr BilingualText ScanCaption{"Recherche de l'unité", "Looking for the unit"};
inline constexpr BilingualText ScanTrying{"%s : essai à %d bauds", "%s: trying %d baud"};
inline constexpr BilingualText ScanFound{"%s : l'unité répond à %d bauds", "%s: the unit answers at %d baud"};
inline constexpr BilingualText ScanNothing{"%s : aucune réponse, à aucune vitesse", "%s: no answer at any speed"};
inline constexpr BilingualText ScanStopped{"%s : arrêté", "%s: stopped"};
inline constexpr BilingualText ScanCannotOpen{"%s : %s", "%s: %s"};  // the port, and why it cannot be opened
inline constexpr BilingualText ScanCancel{"Annuler", "Cancel"};
// The link window: the port in use, the counters since start, the last failure and the frames.
inline constexpr BilingualText LinkCaption{"Liaison", "Link"};
inline constexpr BilingualText LinkInUse{"%s (%s), %d bauds, adresse %d", "%s (%s), %d baud, address %d"};
inline constexpr BilingualText LinkCounts{"Transactions : %llu   réussies : %llu   reprises : %llu\n"
                                          "Silences : %llu   CRC faux : %llu   longueur fausse : %llu   autre demande : %llu   exceptions : %llu",
                                          "Transactions: %llu   good: %llu   retries: %llu\n"
                                          "Silences: %llu   bad CRC: %llu   wrong length: %llu   mismatch: %llu   exceptions: %llu"};
inline constexpr BilingualText LinkLastFailure{"Dernière erreur : %s, à %s", "Last failure: %s, at %s"};
inline constexpr BilingualText LinkNoFailureYet{"Aucune erreur", "No failure"};
inline constexpr BilingualText LinkSave{"Enregistrer", "Save"};
inline constexpr BilingualText LinkTextFile{"Fichier texte", "Text file"};
// Where the unit was found: port, speed and the unit's own address.
inline constexpr BilingualText OptFoundAt{"%s, %d bauds, adresse %d", "%s, %d baud, address %d"};
inline constexpr BilingualText OptPortAbsent{"(absent)", "(not present)"};
// The port list's last item: a device server's port for the Com selected.
inline constexpr BilingualText OptNetworkItem{"Réseau...", "Network..."};
inline constexpr BilingualText OptNetworkCaption{"Port réseau de %s", "Network port of %s"};
inline constexpr BilingualText OptNetworkPrompt{"Port d'un serveur de ports série (rfc2217://HÔTE:PORT ou tcp://HÔTE:PORT) ;\n"
                                                "vide : le port série de l'ordinateur",
                                                "A serial device server's port (rfc2217://HOST:PORT or tcp://HOST:PORT);\n"
                                                "empty: the computer's serial port"};
inline constexpr BilingualText OptNetworkBad{"Ce n'est pas le port d'un serveur de ports série :\n%s\n"
                                             "Ecrire rfc2217://HÔTE:PORT ou tcp://HÔTE:PORT.",
                                             "This is not a serial device server's port:\n%s\n"
                                             "Write rfc2217://HOST:PORT or tcp://HOST:PORT."};
inline constexpr BilingualText OptConnectCaption{"DETECTION UNITE", "CONNECT TO UNIT"};
inline constexpr BilingualText OptConnect{"Détecter", "Connect"};

// The caption of a box that names none
inline constexpr BilingualText BoxDefaultCaption{"Erreur", "Error"};

// Upload and initialisation
inline constexpr BilingualText InitNo{"&Non", "&No"};
inline constexpr BilingualText InitYes{"&Oui", "&Yes"};
inline constexpr BilingualText UploadSuccess{"Téléchargement réussi", "Upload successful"};
inline constexpr BilingualText UploadFailure{"Téléchargement a échoué", "Upload Failure"};
inline constexpr BilingualText UploadCaption{"TELECHARGEMENT", "UPLOAD"};
inline constexpr BilingualText UploadNotHeld{"L'unité ne contient pas ce qui a été envoyé :\n",
                                             "The unit does not hold what was sent:\n"};
inline constexpr BilingualText UploadQuestion{"Téléchargement vers Unité", "Upload to unit"};
inline constexpr BilingualText UploadMovesAddress{"Le fichier change l'adresse Jbus de l'unité de %d à %d. Télécharger ?",
                                                  "The file sets the unit's Jbus address from %d to %d. Upload?"};

// Safeguards: fields that hold no number, what an initialisation erases,
// changes about to be dropped
inline constexpr BilingualText NotNumberCaption{"SAISIE", "ENTRY"};
inline constexpr BilingualText NotNumberText{"Ces champs ne contiennent pas un nombre ; rien n'est envoyé ni enregistré :",
                                             "These fields do not hold a number; nothing is sent or saved:"};
inline constexpr BilingualText InitConfirmCaption{"INITIALISATION", "INITIALIZATION"};
inline constexpr BilingualText InitConfirmText{"L'initialisation va effacer dans l'unité :",
                                               "The initialization will erase in the unit:"};
inline constexpr BilingualText InitEraseTotalizers{"les deux totalisateurs (remis à zéro)",
                                                   "both totalizers (reset to zero)"};
inline constexpr BilingualText InitSetClock{"son heure (mise à l'heure du PC)", "its clock (set to the PC's time)"};
inline constexpr BilingualText InitEraseCalibration{"l'étalonnage et le réglage CAN (valeurs par défaut)",
                                                    "the configuration and the CAN settings (default values)"};
inline constexpr BilingualText InitEraseFactory{"le réglage usine (valeurs par défaut)",
                                                "the factory settings (default values)"};
inline constexpr BilingualText InitEraseMaker{"le réglage HYDROMAST (valeurs par défaut)",
                                              "the HYDROMAST settings (default values)"};
inline constexpr BilingualText InitConfirmQuestion{"Continuer ?", "Continue?"};
inline constexpr BilingualText DropChanges{"Les valeurs modifiées n'ont été ni téléchargées ni enregistrées. Les abandonner ?",
                                           "The changed values were neither uploaded nor saved. Drop them?"};

// Texts that were only English: the comparison box's caption, the names proposed
// for printouts, the program's description and the main picture's subtitle
inline constexpr BilingualText CmpCaption{"COMPARAISON", "COMPARISON"};
inline constexpr BilingualText PrintNameCalibration{"Étalonnage", "Calibration"};
inline constexpr BilingualText PrintNameFactory{"Réglage Usine", "Factory"};
inline constexpr BilingualText PrintNameMaker{"Réglage HYDROMAST", "Hydromast"};
inline constexpr BilingualText PrintNameCan{"Can", "Can"};
inline constexpr BilingualText PrintNameMeasurement{"Mesure", "Measurement"};
inline constexpr BilingualText AboutDescription{"Configuration et surveillance des débitmètres Vantor",
                                                "Vantor flowmeter configuration and monitoring"};
inline constexpr BilingualText MainSubtitle{"Débitmètres à ultrasons à temps de transit",
                                            "Ultrasonic transit-time flowmeters"};

// About box and wait window
inline constexpr BilingualText AboutPrefix{"À propos de ", "About "};
inline constexpr BilingualText WaitText{"Veuillez patienter", "Please wait"};

// Calibration dialog
inline constexpr BilingualText CalEraseTot2{"RAZ Tot2", "Erase Tot2"};
inline constexpr BilingualText CalEraseTot1{"RAZ Tot1", "Erase Tot1"};
inline constexpr BilingualText CalSyncPcTime{"Synchronisation avec heure PC", "Synchronisation with PC time"};
inline constexpr BilingualText CalJbus{"Jbus", "Jbus"};
inline constexpr BilingualText CalThresholdR2{"Seuil R2", "Threshold R2"};
inline constexpr BilingualText CalRelay2{"Type R2", "Relay2"};
inline constexpr BilingualText CalThresholdR1{"Seuil R1", "Threshold R1"};
inline constexpr BilingualText CalRelay1{"Type R1", "Relay1"};
inline constexpr BilingualText CalPulseWidth{"Largeur Pulse", "Pulse width"};
inline constexpr BilingualText CalPulseWeight{"Poids", "Pulse weight"};
inline constexpr BilingualText CalTotalizer2{"Type Tot2", "Totalizer2"};
inline constexpr BilingualText CalTotalizer1{"Type Tot1", "Totalizer1"};
inline constexpr BilingualText CalMemory{"Mémoire", "Memory"};
inline constexpr BilingualText CalCycle{"Cycle", "Cycle"};
inline constexpr BilingualText CalFilter{"Filtre", "Filter"};
inline constexpr BilingualText CalRoughness{"Rugosité", "Roughness"};
inline constexpr BilingualText CalCentistokes{"cSt", "cSt"};
inline constexpr BilingualText CalViscosity{"Viscosité", "Viscosity"};
inline constexpr BilingualText CalKH{"KH", "KH"};
inline constexpr BilingualText CalKHType{"TypeKH", "KH Type"};
inline constexpr BilingualText CalMaxQ{"QMax", "MaxQ"};
inline constexpr BilingualText CalPercentQMax{"%QMax", "%QMax"};
inline constexpr BilingualText CalCutOFF{"Q Eff", "Cut OFF"};
inline constexpr BilingualText CalQ0{"Q0", "Q0"};
inline constexpr BilingualText CalQUnit{"Unité Q", "Q Unit"};
inline constexpr BilingualText CalUSImpulse{"Durée US", "US Impulse"};
inline constexpr BilingualText CalTypeOfGain{"Type Gain", "Type of Gain"};
inline constexpr BilingualText CalStopMeasOn{"Mesure sur", "Stop meas. on"};
inline constexpr BilingualText CalPolarity{"Polarité", "Polarity"};
inline constexpr BilingualText CalProbeMounting{"Montage Sonde", "Probe Mounting"};
inline constexpr BilingualText CalProduct{"Produit", "Product"};
inline constexpr BilingualText CalMaterial{"Matériau", "Material"};
inline constexpr BilingualText CalDeltaC{"Delta C", "Delta C"};
inline constexpr BilingualText CalC0{"C0", "C0"};
inline constexpr BilingualText CalThickness{"Épaisseur", "Thickness"};
inline constexpr BilingualText CalAxD{"D. Ax.", "Ax. D."};
inline constexpr BilingualText CalLength{"Longueur", "Length"};
inline constexpr BilingualText CalExtDiameter{"Diamètre Ext.", "Ext. Diameter"};
inline constexpr BilingualText CalCaption{"Étalonnage", "Settings"};

// Factory settings dialog
inline constexpr BilingualText FacAngleSP2{"Angle SP2", "Angle SP2"};
inline constexpr BilingualText FacAngleSP1{"Angle SP1", "Angle SP1"};
inline constexpr BilingualText FacT0SP2{"T0 SP2", "T0 SP2"};
inline constexpr BilingualText FacT0SP1{"T0 SP1", "T0 SP1"};
inline constexpr BilingualText FacQRefUnit{"Unité Q Ref", "Q Ref Unit"};
inline constexpr BilingualText FacFrequencySP2{"Fréquence SP2", "Frequency SP2"};
inline constexpr BilingualText FacFrequencySP1{"Fréquence SP1", "Frequency SP1"};
inline constexpr BilingualText FacCoef100{"Coef 100%", "Coef 100%"};
inline constexpr BilingualText FacCoef90{"Coef 90%", "Coef 90%"};
inline constexpr BilingualText FacCoef80{"Coef 80%", "Coef 80%"};
inline constexpr BilingualText FacCoef70{"Coef 70%", "Coef 70%"};
inline constexpr BilingualText FacCoef60{"Coef 60%", "Coef 60%"};
inline constexpr BilingualText FacCoef50{"Coef 50%", "Coef 50%"};
inline constexpr BilingualText FacCoef40{"Coef 40%", "Coef 40%"};
inline constexpr BilingualText FacCoef30{"Coef 30%", "Coef 30%"};
inline constexpr BilingualText FacCoef20{"Coef 20%", "Coef 20%"};
inline constexpr BilingualText FacCoef10{"Coef 10%", "Coef 10%"};
inline constexpr BilingualText FacCoef0{"Coef 0%", "Coef 0%"};
inline constexpr BilingualText FacQRef{"Q Ref.", "Q Ref."};
inline constexpr BilingualText FacLinearization{"Linéarisation", "Linearization"};
inline constexpr BilingualText FacFrequency{"Fréquence", "Frequency"};
inline constexpr BilingualText FacDegree{"°", "°"};
inline constexpr BilingualText FacAngle{"Angle", "Angle"};
inline constexpr BilingualText FacT0{"T0", "T0"};
inline constexpr BilingualText FacSP2Probe{"Sonde SP2", "SP2 Probe"};
inline constexpr BilingualText FacSP1Probe{"Sonde SP1", "SP1 Probe"};
inline constexpr BilingualText FacTXDelay{"Retard TX", "TX Delay"};
inline constexpr BilingualText FacCAGTime{"Rythme CAG", "CAG Time"};
inline constexpr BilingualText FacCoefExtP{"Coef S. Ext", "Coef Ext.P."};
inline constexpr BilingualText FacMaxGain{"Gain Max", "Max Gain"};
inline constexpr BilingualText FacTXRXMode{"Mode TX/RX", "TX/RX Mode"};
inline constexpr BilingualText FacJeeterQ{"Ondulation Q", "Jeeter Q"};
inline constexpr BilingualText FacQSimulation{"Q Simulation", "Q Simulation"};
inline constexpr BilingualText FacFunction{"Fonction", "Function"};
inline constexpr BilingualText FacLanguage{"Langue", "Language"};
inline constexpr BilingualText FacCaption{"Réglage Usine", "Factory Settings"};

// Maker settings dialog
inline constexpr BilingualText MakPts20mA{"Pts 20mA", "Pts 20mA"};
inline constexpr BilingualText MakPts4mA{"Pts 4mA", "Pts 4mA"};
inline constexpr BilingualText MakRef{"Ref", "Ref"};
inline constexpr BilingualText MakCaption{"Réglage HYDROMAST", "HYDROMAST Settings"};

// CAN settings dialog
inline constexpr BilingualText CanTXTimer{"Période TX", "TX Timer"};
inline constexpr BilingualText CanFrequency{"Fréquence", "Frequency"};
inline constexpr BilingualText CanType{"Type", "Type"};
inline constexpr BilingualText CanNumber{"N°", "N°"};
inline constexpr BilingualText CanApplicationRef{"Ref Application", "Application Ref"};
inline constexpr BilingualText CanBoardRef{"Ref Carte", "Board Ref"};
inline constexpr BilingualText CanSoftRef2{"Ref Soft 2", "Soft Ref 2"};
inline constexpr BilingualText CanSoftRef1{"Ref Soft 1", "Soft Ref 1"};
inline constexpr BilingualText CanProbeType{"Type Sonde", "Probe Type"};
inline constexpr BilingualText CanDateTime{"Date/Heure", "Date/Time"};
inline constexpr BilingualText CanFault{"Défaut", "Fault"};
inline constexpr BilingualText CanTotFormat{"Info. Volumes", "Tot. Format"};
inline constexpr BilingualText CanCaption{"CAN", "CAN"};

// Comparison report
inline constexpr BilingualText CmpLookFile{"Voir Fichier ", "Look File "};
inline constexpr BilingualText CmpNoDeviation{"Aucun écart entre unité et Fichier", "None deviation between Unit and File"};
inline constexpr BilingualText CmpReportHeader{"Nom\tValeur Unité\tValeur Fichier\n", "Name\tUnit Value\tFile Value\n"};
inline constexpr BilingualText CmpVisa{"Visa : __________", "Visa : __________"};
inline constexpr BilingualText CmpDateLine{"Fait le :", "Date :"};
inline constexpr BilingualText CmpReportTitle{"Ecart entre Unité et Fichier ", "Deviation between Unit and File "};
inline constexpr BilingualText CmpUnitNumber{"Unité N° _____________", "Unit N° _____________"};
inline constexpr BilingualText CmpDeviation{"Ecart", "Deviation"};

// Measurement dialog
inline constexpr BilingualText MeasHardware{"Carte", "Hardware"};
inline constexpr BilingualText MeasSoftware{"Logiciel", "Software"};
inline constexpr BilingualText MeasVersions{"Versions", "Versions"};
inline constexpr BilingualText MeasT2{"T2", "T2"};
inline constexpr BilingualText MeasT1{"T1", "T1"};
inline constexpr BilingualText MeasTotalizers{"Totalisateurs", "Totalizers"};
inline constexpr BilingualText MeasPercent{"%", "%"};
inline constexpr BilingualText MeasIQ{"I.Q.", "I.Q."};
inline constexpr BilingualText MeasDecibel{"dB", "dB"};
inline constexpr BilingualText MeasMargin{"Marge", "Margin"};
inline constexpr BilingualText MeasGain{"Gain", "Gain"};
inline constexpr BilingualText MeasNanoseconds{"ns", "ns"};
inline constexpr BilingualText MeasDeltaT{"DeltaT", "DeltaT"};
inline constexpr BilingualText MeasMicroseconds{"µs", "µs"};
inline constexpr BilingualText MeasTime{"Temps", "Time"};
inline constexpr BilingualText MeasMillimetres{"mm", "mm"};
inline constexpr BilingualText MeasDProbe{"D. Sonde", "D. Probe"};
inline constexpr BilingualText MeasProbe{"Sonde", "Probe"};
inline constexpr BilingualText MeasKh{"Kh", "Kh"};
inline constexpr BilingualText MeasVelocity{"Célérité", "Velocity"};
inline constexpr BilingualText MeasMilliseconds{"ms", "ms"};
inline constexpr BilingualText MeasMetresPerSecond{"m/s", "m/s"};
inline constexpr BilingualText MeasSpeed{"Vitesse", "Speed"};
inline constexpr BilingualText MeasFlow{"Débit", "Flow"};
inline constexpr BilingualText MeasTryingToConnect{"Attente de connexion", "Trying to connect"};
inline constexpr BilingualText MeasRecordNumber{"Enregistrement n° %d", "Record n° %d"};
inline constexpr BilingualText MeasRecordCounter{"Nbre d'Enregistrement=%d  N° d'Enregistrement=%d", "Total Record=%d  Record N°=%d"};
inline constexpr BilingualText MeasCommFailure{"Communication interrompue", "Communication Failure"};
inline constexpr BilingualText MeasCaption{"Mesure", "Measurement"};

// Logger conversion dialog
inline constexpr BilingualText ConvFileOut{"Fichier de Sortie", "File Out"};
inline constexpr BilingualText ConvFileIn{"Fichier d'entrée", "File In"};
inline constexpr BilingualText ConvLastDate{"Date en cours", "Last Date"};
inline constexpr BilingualText ConvFirstDate{"1ère Date", "First Date"};
inline constexpr BilingualText ConvRecord{"Enr. en cours", "Record"};
inline constexpr BilingualText ConvTotalRecord{"Nbr d'Enr. Total", "Total Record"};
inline constexpr BilingualText ConvConvertFile{"Convertir Fichier", "Convert File"};
inline constexpr BilingualText ConvDate{"Date", "Date"};
inline constexpr BilingualText ConvTime{"Heure", "Time"};
inline constexpr BilingualText ConvDateTime{"Date et heure", "Date and time"};
inline constexpr BilingualText ConvT1Unit{"Unité T1", "T1 Unit"};
inline constexpr BilingualText ConvT2Unit{"Unité T2", "T2 Unit"};
inline constexpr BilingualText ConvKhMode{"Mode Kh", "Kh Mode"};
inline constexpr BilingualText ConvFaultState{"État", "Fault State"};
inline constexpr BilingualText ConvFormatCsv{"Fichier CSV UTF-8", "CSV UTF-8 File"};
// The CSV's names of the two speeds, which the measurement dialog calls Speed and Velocity.
inline constexpr BilingualText ConvFlowSpeed{"Vitesse d'écoulement", "Flow speed"};
inline constexpr BilingualText ConvSoundVelocity{"Célérité du son", "Sound velocity"};

// The command line (vantorctl): what it says of each command, in the run's language.
inline constexpr BilingualText CtlFailedAt{"%s : %s à %d bauds, adresse %d", "%s from %s at %d baud, address %d"};
inline constexpr BilingualText CtlFailedOn{"%s : %s", "%s: %s"};
inline constexpr BilingualText CtlRunDetect{" (vantorctl detect cherche l'unité sur les ports)",
                                            " (vantorctl detect looks for the unit on the ports)"};
inline constexpr BilingualText CtlJoinGroup{" (rejoindre le groupe %s : sudo usermod -aG %s $USER, puis se reconnecter)",
                                            " (join the group %s: sudo usermod -aG %s $USER, then log in again)"};
inline constexpr BilingualText CtlDidYouMean{" (voulez-vous dire %s ?)", " (did you mean %s?)"};
inline constexpr BilingualText CtlCannotRead{"lecture impossible de %s : %s", "cannot read %s: %s"};
inline constexpr BilingualText CtlCannotWrite{"écriture impossible de %s : %s", "cannot write %s: %s"};
inline constexpr BilingualText CtlNotSettingsFile{"%s n'est pas un fichier de réglage %s (son mot de longueur doit valoir %d, suivi d'autant d'octets)",
                                                  "%s is not a %s settings file (its length word must be %d, followed by as many bytes)"};
inline constexpr BilingualText CtlWrongExtension{"%s : un bloc %s s'enregistre dans un fichier .%s",
                                                 "%s: a %s block is saved to a .%s file"};
inline constexpr BilingualText CtlSaved{"bloc %s lu et enregistré dans %s", "%s block read and saved to %s"};
inline constexpr BilingualText CtlOutsideLimits{"%s contient des valeurs que le programme n'enverrait pas telles quelles : %s",
                                                "%s holds values the program would not send as they stand: %s"};
inline constexpr BilingualText CtlValueLimits{"%s %s (de %s à %s)", "%s %s (%s to %s)"};
inline constexpr BilingualText CtlAddressChange{"%s donne à l'unité l'adresse Jbus %d (elle répond à %d) : ajouter --address-change pour la changer",
                                                "%s gives the unit the Jbus address %d (it answers at %d): add --address-change to change it"};
inline constexpr BilingualText CtlNotHeld{"l'unité ne contient pas ce que contient %s : %s",
                                          "the instrument does not hold what %s holds: %s"};
inline constexpr BilingualText CtlUploaded{"%s téléchargé et relu : l'unité le contient", "%s uploaded and read back: the unit holds it"};
inline constexpr BilingualText CtlUploadedUnchecked{"%s téléchargé (sans relecture)", "%s uploaded (not read back)"};
inline constexpr BilingualText CtlNowAnswersAt{"l'unité répond maintenant à l'adresse Jbus %d", "the unit now answers at Jbus address %d"};
inline constexpr BilingualText CtlUnitOutsideLimits{"l'unité contient une valeur hors de ses limites : %s",
                                                    "the unit holds a value outside its limits: %s"};
inline constexpr BilingualText CtlInitNeedsYes{"init efface les deux totalisateurs et les blocs nommés : ajouter --yes pour l'exécuter sans terminal",
                                               "init erases both totalizers and the blocks named: give --yes to run it without a terminal"};
inline constexpr BilingualText CtlInitNotConfirmed{"init non confirmé : rien n'est écrit", "init not confirmed: nothing written"};
inline constexpr BilingualText CtlInitAsk{"Continuer ? [o/N] ", "Continue? [y/N] "};
inline constexpr BilingualText CtlInitialised{"initialisation faite : horloge réglée, totalisateurs remis à zéro%s",
                                              "initialised: clock set, totalizers reset%s"};
inline constexpr BilingualText CtlInitBlocks{", valeurs par défaut écrites : %s", ", default values written: %s"};
inline constexpr BilingualText CtlRecordingIsMes{"%s : un enregistrement est un fichier .mes", "%s: a recording is a .mes file"};
inline constexpr BilingualText CtlRecordingStopped{"enregistrement arrêté : écriture impossible de %s",
                                                   "recording stopped: cannot write %s"};
inline constexpr BilingualText CtlPollsFailed{"%ld relevés, %ld en échec", "%ld polls, %ld failed"};
inline constexpr BilingualText CtlNoMesInName{"pas de .mes dans le nom de %s : donner --out", "no .mes in the name of %s, give --out"};
inline constexpr BilingualText CtlNotMeasurementFile{"%s n'est pas un fichier mesure (.mes)", "%s is not a measurement file (.mes)"};
inline constexpr BilingualText CtlCsvDecimal{"--csv écrit les nombres avec un point : --decimal ne s'y applique pas",
                                             "--csv writes numbers with a point: --decimal does not apply to it"};
inline constexpr BilingualText CtlNoInstrument{"aucun instrument trouvé", "no instrument found"};
inline constexpr BilingualText CtlScanned{"ports essayés : %s ; --ports en essaie d'autres (les adaptateurs USB sont souvent COM4 et au-delà)",
                                          "ports scanned: %s; --ports tries others (USB adapters are often COM4 and above)"};
inline constexpr BilingualText CtlDetectSaved{"enregistré dans les réglages du programme : %s, %d bauds, adresse %d",
                                              "saved in the program's settings: %s, %d baud, address %d"};
inline constexpr BilingualText CtlPortsNone{"aucun port série sur cette machine", "no serial port on this machine"};
inline constexpr BilingualText CtlPortUsedAs{"%s dans les réglages", "%s in the settings"};
inline constexpr BilingualText CtlNoDeviation{"Aucun écart entre l'unité et le fichier", "No deviation between the unit and the file"};
// The codes of an exception reply, as the instrument means them.
inline constexpr BilingualText ExceptionFunction{"fonction non prise en charge", "function not supported"};
inline constexpr BilingualText ExceptionRegister{"registre indisponible", "register not available"};
inline constexpr BilingualText ExceptionValue{"valeur refusée", "value not allowed"};
inline constexpr BilingualText ExceptionFault{"défaut de l'instrument", "instrument fault"};
inline constexpr BilingualText ExceptionWorking{"acceptée, traitement en cours", "accepted, still working"};
inline constexpr BilingualText ExceptionBusy{"instrument occupé", "instrument busy"};

// Printing: the PDF file offered when there is no default printer, and a failed printout
inline constexpr BilingualText PrintToPdf{"Pas d'imprimante par défaut : imprimer dans un fichier PDF",
                                          "No default printer: print to a PDF file"};
inline constexpr BilingualText PrintPdfFile{"Fichier PDF", "PDF File"};
inline constexpr BilingualText PrintCaption{"IMPRESSION", "PRINT"};
inline constexpr BilingualText PrintFailure{"L'impression a échoué", "Printing failed"};

// What the bitmap buttons do, shown as their tooltips
inline constexpr BilingualText TipSaveToFile{"Enregistrer dans un fichier", "Save to a file"};
inline constexpr BilingualText TipPrint{"Imprimer", "Print"};
inline constexpr BilingualText TipUpload{"Télécharger vers l'unité", "Upload to the instrument"};
inline constexpr BilingualText TipCompare{"Comparer avec un fichier", "Compare with a file"};
inline constexpr BilingualText TipRecord{"Enregistrer les mesures", "Record the measurement"};
inline constexpr BilingualText TipStopRecording{"Arrêter l'enregistrement", "Stop recording"};
inline constexpr BilingualText TipFirstRecord{"Premier enregistrement", "First record"};
inline constexpr BilingualText TipPreviousRecord{"Enregistrement précédent", "Previous record"};
inline constexpr BilingualText TipNextRecord{"Enregistrement suivant", "Next record"};
inline constexpr BilingualText TipLastRecord{"Dernier enregistrement", "Last record"};
inline constexpr BilingualText TipConvert{"Convertir pour un tableur", "Convert for a spreadsheet"};

// ---- Every table once, for checks that must hold over all of them.

struct ChoiceListInfo {
    const ChoiceList* list;
    const char* key;
};

inline constexpr std::array<ChoiceListInfo, 24> kAllLists{{
    {&ListCanBitRate, "ListCanBitRate"},
    {&ListFrequency, "ListFrequency"},
    {&ListTxRxMode, "ListTxRxMode"},
    {&ListFunction, "ListFunction"},
    {&ListInstrumentLanguage, "ListInstrumentLanguage"},
    {&ListRelayType, "ListRelayType"},
    {&ListPulseWidth, "ListPulseWidth"},
    {&ListTotalizerUnit, "ListTotalizerUnit"},
    {&ListTotalizerSign, "ListTotalizerSign"},
    {&ListAutoManual, "ListAutoManual"},
    {&ListFlowUnit, "ListFlowUnit"},
    {&ListProduct, "ListProduct"},
    {&ListManualAuto, "ListManualAuto"},
    {&ListStopOn, "ListStopOn"},
    {&ListMounting, "ListMounting"},
    {&ListMaterial, "ListMaterial"},
    {&ListPolarity, "ListPolarity"},
    {&ListHardware, "ListHardware"},
    {&ListModel, "ListModel"},
    {&ListFaultState, "ListFaultState"},
    {&ListAutoManuTag, "ListAutoManuTag"},
    {&ListBauds, "ListBauds"},
    {&ListCom, "ListCom"},
    {&ListLanguage, "ListLanguage"},
}};

inline constexpr auto kAllTexts = std::to_array<const BilingualText*>({
    &MenuAbout, &MenuOptions, &MenuInitialization, &MenuMakerSettings, &MenuFactorySettings,
    &MenuCan, &MenuConfiguration, &MenuMeasurement, &MenuDialogue, &MenuLink, &MenuExit, &MenuNew, &MenuOpen,
    &MenuFile,

    &FileNewPrefix, &FileCanSettings, &FileMakerSettings, &FileFactorySettings, &FileCalibration,
    &FileMeasurement, &FileCannotWrite, &FileCannotRead, &FileReplace, &FileInvalid, &FileSameAsInput,
    &MeasFileTooShort, &MeasFileBadLength, &MeasFileNoRecord, &MeasCannotRecord, &ConvNothingConverted,
    &ConvCannotStart, &NoSpreadsheet, &ConvDone,

    &LinkJoinGroup, &StatusRead, &StatusReadFailed, &StatusUploaded, &StatusNewAddress, &StatusNotHeld,
    &StatusUploadFailed, &StatusInitialised, &StatusInitNewAddress, &StatusInitFailed, &StatusNowAt,
    &StatusMeasuring, &StatusPollFailed, &StatusMeasureStopped, &StatusReading, &StatusReadings, &StatusFailedPoll, &StatusFailedPolls,
    &StatusUnitFound, &StatusNoUnit, &StatusClamped, &LimitMinimum, &LimitMaximum,
    &LinkNoFailure, &LinkPortMissing, &LinkPortBusy, &LinkPortDenied, &LinkPortUnavailable, &LinkConnectRefused,
    &LinkHostUnreachable, &LinkHostUnknown, &LinkConnectTimeout, &LinkCannotConnect, &LinkOverlap,
    &LinkBadRequest, &LinkSendFailed, &LinkNoAnswer, &LinkWrongLength, &LinkBadCrc, &LinkBadReply, &LinkException,
    &TraceSent, &TraceReceived, &TraceGood, &TraceSendFailed, &TraceSilence, &TraceWrongLength, &TraceBadCrc, &TraceBadReply,
    &TraceException,

    &OptBrowse, &OptSpreadSheet, &OptLanguage, &OptBauds, &OptCom, &OptJbus, &OptCaption,
    &OptConnectSuccess, &OptConnectFailure, &OptConnectCaption, &OptConnect, &OptPortAbsent, &OptFoundAt, &ScanCaption,
    &OptNetworkItem, &OptNetworkCaption, &OptNetworkPrompt, &OptNetworkBad,
    &ScanTrying, &ScanFound, &ScanNothing, &ScanStopped, &ScanCannotOpen, &ScanCancel, &LinkCaption, &LinkInUse, &LinkCounts,
    &LinkLastFailure, &LinkNoFailureYet, &LinkSave, &LinkTextFile,

    &BoxDefaultCaption,

    &InitNo, &InitYes, &UploadSuccess, &UploadFailure, &UploadCaption, &UploadQuestion, &UploadNotHeld, &UploadMovesAddress,

    &NotNumberCaption, &NotNumberText, &InitConfirmCaption, &InitConfirmText, &InitEraseTotalizers,
    &InitSetClock, &InitEraseCalibration, &InitEraseFactory, &InitEraseMaker, &InitConfirmQuestion,
    &DropChanges,

    &CmpCaption, &PrintNameCalibration, &PrintNameFactory, &PrintNameMaker, &PrintNameCan,
    &PrintNameMeasurement,
    &AboutDescription, &MainSubtitle,

    &AboutPrefix, &WaitText,

    &CalEraseTot2, &CalEraseTot1, &CalSyncPcTime, &CalJbus, &CalThresholdR2, &CalRelay2,
    &CalThresholdR1, &CalRelay1, &CalPulseWidth, &CalPulseWeight, &CalTotalizer2, &CalTotalizer1,
    &CalMemory, &CalCycle, &CalFilter, &CalRoughness, &CalCentistokes, &CalViscosity, &CalKH,
    &CalKHType, &CalMaxQ, &CalPercentQMax, &CalCutOFF, &CalQ0, &CalQUnit, &CalUSImpulse,
    &CalTypeOfGain, &CalStopMeasOn, &CalPolarity, &CalProbeMounting, &CalProduct, &CalMaterial,
    &CalDeltaC, &CalC0, &CalThickness, &CalAxD, &CalLength, &CalExtDiameter, &CalCaption,

    &FacAngleSP2, &FacAngleSP1, &FacT0SP2, &FacT0SP1, &FacQRefUnit, &FacFrequencySP2,
    &FacFrequencySP1, &FacCoef100, &FacCoef90, &FacCoef80, &FacCoef70, &FacCoef60, &FacCoef50,
    &FacCoef40, &FacCoef30, &FacCoef20, &FacCoef10, &FacCoef0, &FacQRef, &FacLinearization,
    &FacFrequency, &FacDegree, &FacAngle, &FacT0, &FacSP2Probe, &FacSP1Probe, &FacTXDelay,
    &FacCAGTime, &FacCoefExtP, &FacMaxGain, &FacTXRXMode, &FacJeeterQ, &FacQSimulation,
    &FacFunction, &FacLanguage, &FacCaption,

    &MakPts20mA, &MakPts4mA, &MakRef, &MakCaption,

    &CanTXTimer, &CanFrequency, &CanType, &CanNumber, &CanApplicationRef, &CanBoardRef,
    &CanSoftRef2, &CanSoftRef1, &CanProbeType, &CanDateTime, &CanFault, &CanTotFormat, &CanCaption,

    &CmpLookFile, &CmpNoDeviation, &CmpReportHeader, &CmpVisa, &CmpDateLine, &CmpReportTitle,
    &CmpUnitNumber, &CmpDeviation,

    &MeasHardware, &MeasSoftware, &MeasVersions, &MeasT2, &MeasT1, &MeasTotalizers, &MeasPercent,
    &MeasIQ, &MeasDecibel, &MeasMargin, &MeasGain, &MeasNanoseconds, &MeasDeltaT, &MeasMicroseconds,
    &MeasTime, &MeasMillimetres, &MeasDProbe, &MeasProbe, &MeasKh, &MeasVelocity, &MeasMilliseconds,
    &MeasMetresPerSecond, &MeasSpeed, &MeasFlow, &MeasTryingToConnect, &MeasRecordNumber,
    &MeasRecordCounter, &MeasCommFailure, &MeasCaption,

    &ConvFileOut, &ConvFileIn, &ConvLastDate, &ConvFirstDate, &ConvRecord, &ConvTotalRecord,
    &ConvConvertFile, &ConvDate, &ConvTime, &ConvDateTime, &ConvT1Unit, &ConvT2Unit, &ConvKhMode,
    &ConvFaultState, &ConvFormatCsv, &ConvFlowSpeed, &ConvSoundVelocity,

    &CtlFailedAt, &CtlFailedOn, &CtlRunDetect, &CtlJoinGroup, &CtlDidYouMean, &CtlCannotRead, &CtlCannotWrite,
    &CtlNotSettingsFile, &CtlWrongExtension, &CtlSaved, &CtlOutsideLimits, &CtlValueLimits, &CtlAddressChange,
    &CtlNotHeld, &CtlUploaded, &CtlUploadedUnchecked, &CtlNowAnswersAt, &CtlUnitOutsideLimits, &CtlInitNeedsYes,
    &CtlInitNotConfirmed, &CtlInitAsk, &CtlInitialised, &CtlInitBlocks, &CtlRecordingIsMes, &CtlRecordingStopped,
    &CtlPollsFailed, &CtlNoMesInName, &CtlNotMeasurementFile, &CtlCsvDecimal, &CtlNoInstrument,
    &CtlScanned, &CtlDetectSaved, &CtlPortsNone, &CtlPortUsedAs, &CtlNoDeviation, &ExceptionFunction, &ExceptionRegister,
    &ExceptionValue, &ExceptionFault, &ExceptionWorking, &ExceptionBusy,

    &PrintToPdf, &PrintPdfFile, &PrintCaption, &PrintFailure,

    &TipSaveToFile, &TipPrint, &TipUpload, &TipCompare, &TipRecord, &TipStopRecording, &TipFirstRecord,
    &TipPreviousRecord, &TipNextRecord, &TipLastRecord, &TipConvert,
});

}  // namespace lang

}  // namespace vantor
