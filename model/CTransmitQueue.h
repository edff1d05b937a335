#pragma once

#include <cstdint>
#include <memory>

// Where sections send their messages: the transmit queue of whoever owns the port. The
// document hands it to every section it holds; it outlives the sections it is given to.
class CTransmitQueue {
public:
    // What a message sets, so that a newer one replaces a waiting one that sets the same: the
    // kind of the section (0 for a value at an absolute address), its number, and the index of
    // the value (CSection::kNoValue at an absolute address) or, for a block from the first
    // value on, how many values it carries.
    struct SWhat {
        std::int32_t nSection = 0;
        std::int32_t nVariation = 0;
        std::int32_t nParam = 0;
        bool bBlock = false;
    };

    virtual ~CTransmitQueue() = default;

    // The channel byte (0..15) messages are built with.
    virtual int MessageChannel() const = 0;
    // Takes one complete message of nLength bytes. False when it waits for the port to open,
    // or memory ran out.
    virtual bool QueueMessage(const SWhat& what, std::unique_ptr<std::uint8_t[]> pBytes,
                              int nLength) = 0;
};
