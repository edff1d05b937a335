#pragma once

#include <cstdint>
#include <string_view>

class CArchive;
class CSerializable;

// What the project file knows of a class: the name it is stored under, its schema number and
// how to make an empty object of it when the name is read back.
struct SRuntimeClass {
    const char* pszName;
    std::uint16_t nSchema;
    CSerializable* (*pCreate)();
};

// An object that can be written to and read from a project file by class name.
class CSerializable {
public:
    virtual ~CSerializable() = default;
    // Null for the abstract classes, which are never stored.
    virtual const SRuntimeClass* GetRuntimeClass() const = 0;
    virtual void Serialize(CArchive& ar) = 0;
};

// The classes a project file may name; null for any other name.
const SRuntimeClass* FindRuntimeClass(std::string_view name);
