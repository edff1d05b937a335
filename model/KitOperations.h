#pragma once

class CDocumentView;
class CQuenleyDoc;
class CSection;

// The rules of kits, whoever asks for them: a window, the command line or a test. Each edit is
// one step of the project's history (inside the caller's step when one is open) and sends the
// module what the kit panel always sent, in the same order. pSender is the window that asked: it
// shows the result itself and is not told the kit changed; nullptr tells every window.
namespace KitOperations {

// Init.: the kit nNumber (0..767), made with the default values when the project lacks it, or
// renamed "Untitled" when it has it. It then uses, of every kind, the variation with its number
// within the bank where the project holds one; otherwise it keeps what it uses (a value no
// variation can have becomes the nearest one). The kit is sent as one block. Null when there is
// no such kit number.
CSection* Init(CQuenleyDoc& doc, int nNumber, CDocumentView* pSender = nullptr);

// Makes the kit the active one, and the variations it uses the active ones of their kinds; a
// kind whose variation is missing loses its mark. Sends nothing. False when the kit was active.
bool Activate(CQuenleyDoc& doc, CSection& kit, CDocumentView* pSender = nullptr);

// The kit uses variation nNumber of nKind (sent as one value); in an active kit that variation
// takes its kind's mark. False when it used it already or the number is no value.
bool ChooseVariation(CQuenleyDoc& doc, CSection& kit, int nKind, int nNumber,
                     CDocumentView* pSender = nullptr);

// A kit window's kit keeps in step with the variations of the project; the document applies
// these before the window hears of the change. A variation announced under the number the kit
// uses, or under the nearest one a damaged value shows, is taken up (pFollower, the window,
// shows it itself), and in an active kit it takes its kind's mark.
void FollowSection(CQuenleyDoc& doc, CSection& kit, const CSection& changed,
                   CDocumentView* pFollower);
// Variations of nKind came or went: the one an active kit uses takes its kind's mark.
void FollowKind(CQuenleyDoc& doc, CSection& kit, int nKind);

} // namespace KitOperations
