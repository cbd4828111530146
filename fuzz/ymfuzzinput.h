#ifndef YMFUZZINPUT_H
#define YMFUZZINPUT_H

#include <cstddef>
#include <cstdint>

// A fuzz input read front to back; past the end every byte reads as 0, so any
// byte string is a valid program. Each target reads its own values on top.
class YmFuzzInput
{
public:
    YmFuzzInput(const uint8_t *data, size_t size)
        : m_data(data)
        , m_left(size)
    {}

    bool atEnd() const { return m_left == 0; }
    uint8_t byte()
    {
        if (!m_left)
            return 0;
        --m_left;
        return *m_data++;
    }

protected:
    const uint8_t *m_data;
    size_t m_left;
};

#endif // YMFUZZINPUT_H
