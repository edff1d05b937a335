#pragma once

#include <QString>

#include <functional>

class CQuenleyDoc;
class CSection;

// Copying a variation or a kit to another number of its kind, within one project or from another
// project into this one. The copy dialog, Import from Project and quenley-cli all copy through
// here, so they follow one set of rules and ask the same questions.
namespace CopyOperations {

// What the copy needs the user to decide, or to know.
struct SQuestion {
    enum class EType {
        kOverwrite,      // the copy's own target exists
        kOverwriteSound, // a sound stored under the kit's number exists; no skips that kind
        kCopyFailed,     // copying the values failed; the answer is not read
    };
    EType eType;
    int nKind;
    int nNumber;
    QString strText; // "Kick007 always exist\noverwrite ?", as the editor asks it
    bool bYesNo;     // the editor offers Yes and No; otherwise OK and Cancel
};
// True to go on (overwrite).
using FAsk = std::function<bool(const SQuestion&)>;

struct SOptions {
    // Kits: "store sounds under kit number": the kit's sounds are copied to number
    // target % 256 of their kinds and the new kit points at them.
    bool bStoreSounds = false;
};

struct SResult {
    CSection* pTarget = nullptr; // null when nothing was copied
    int nSounds = 0;             // sounds stored under the kit's number
    QString strOutcome;          // "Kick 003 copied to Kick 012."; empty when nothing was copied
};

// "Kick007", "Kit044 Bank001": how the questions name a variation.
QString QuestionName(int nKind, int nNumber);

// Copies source, a section of sourceDoc (which may be doc itself), to number nTarget of its kind
// in doc: the target is made or, once ask agrees, overwritten, then sent and announced to the
// views. One step of doc's history ("Copy to Kick 012"). Copying a section onto itself does
// nothing.
SResult Copy(CQuenleyDoc& doc, CQuenleyDoc& sourceDoc, const CSection& source, int nTarget,
             const SOptions& options, const FAsk& ask);

} // namespace CopyOperations
