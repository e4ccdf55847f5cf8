// The header of a recorded test: what the operator typed about the specimen, and the
// 120-byte image that opens every test file.
#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>

struct TSpecimenData {
    static constexpr int kImageSize = 120;
    static constexpr int kSampleCountOffset = 20;  // of SampleCount in the image
    static constexpr const char* kSignature = "K-Tor. file v.3";

    // Texts are code page 1251 bytes, zero-terminated inside their field.
    std::array<char, 16> Signature{};
    int16_t ForceScale = 0;  // kN, the channel's scale when the test was saved
    int32_t SampleCount = 0;
    std::array<char, 12> DateText{};
    std::array<char, 32> TestName{};
    std::array<char, 20> Marking{};
    std::array<char, 20> SampleType{};
    std::array<char, 7> AreaText{};

    bool operator==(const TSpecimenData&) const = default;

    // Little-endian file image: fields in order, zero bytes at 18-19 and 115-119.
    std::array<uint8_t, kImageSize> ToBytes() const;
    static TSpecimenData FromBytes(const uint8_t* bytes);

    // A header read from a foreign file may lack terminators: the last byte of every
    // text field becomes zero, so each text ends inside its field.
    void TerminateTexts();

    // The texts decoded from code page 1251, up to the first zero byte.
    QString DateString() const;
    QString TestNameString() const;
    QString MarkingString() const;
    QString SampleTypeString() const;
    QString AreaString() const;
};

// The header of a test about to be saved. The date is written as "dd.MM.yyyy"; the texts
// are converted to code page 1251 and cut to their fields (31, 19, 19 and 6 characters);
// an empty area is saved as "0".
TSpecimenData FillForSave(const QDate& date, const QString& testName, const QString& marking,
                          const QString& sampleType, const QString& areaText, int32_t sampleCount,
                          int16_t forceScale);
