#pragma once

#include "CSerializable.h"

// The stored class of a section kind (null for kinds that are never stored), and of the saved
// window record.
const SRuntimeClass* SectionRuntimeClass(int nKind);
const SRuntimeClass* WorkspaceRuntimeClass();

// A new empty section of the kind, or null for kind 0 and unknown kinds.
class CSection;
CSection* NewSectionOfKind(int nKind);
