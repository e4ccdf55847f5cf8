#include "measure/specimen_data.h"

#include <algorithm>
#include <cstring>

#include "platform/cp1251.h"
#include "platform/little_endian.h"

namespace {

using platform::GetLe;
using platform::PutLe;

// Field offsets inside the 120-byte image.
constexpr int kSignatureAt = 0;
constexpr int kForceScaleAt = 16;
constexpr int kDateAt = 24;
constexpr int kTestNameAt = 36;
constexpr int kMarkingAt = 68;
constexpr int kSampleTypeAt = 88;
constexpr int kAreaAt = 108;

template <size_t N>
void PutField(uint8_t* image, int at, const std::array<char, N>& field) {
    std::memcpy(image + at, field.data(), N);
}

template <size_t N>
void GetField(const uint8_t* image, int at, std::array<char, N>& field) {
    std::memcpy(field.data(), image + at, N);
}

// Copies the text up to its first zero and at most N - 1 bytes, so the field always keeps a
// terminating zero with nothing but zeros after it.
template <size_t N>
void SetText(std::array<char, N>& field, const QByteArray& bytes) {
    field.fill(0);
    const size_t length = std::strlen(bytes.constData());
    const size_t size = std::min(length, N - 1);
    std::memcpy(field.data(), bytes.constData(), size);
}

template <size_t N>
QString TextOf(const std::array<char, N>& field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return platform::FromCp1251(QByteArray(field.data(), end - field.begin()));
}

}  // namespace

std::array<uint8_t, TSpecimenData::kImageSize> TSpecimenData::ToBytes() const {
    std::array<uint8_t, kImageSize> image{};
    PutField(image.data(), kSignatureAt, Signature);
    PutLe(image.data() + kForceScaleAt, static_cast<uint16_t>(ForceScale), 2);
    PutLe(image.data() + TSpecimenData::kSampleCountOffset, static_cast<uint32_t>(SampleCount), 4);
    PutField(image.data(), kDateAt, DateText);
    PutField(image.data(), kTestNameAt, TestName);
    PutField(image.data(), kMarkingAt, Marking);
    PutField(image.data(), kSampleTypeAt, SampleType);
    PutField(image.data(), kAreaAt, AreaText);
    return image;
}

TSpecimenData TSpecimenData::FromBytes(const uint8_t* bytes) {
    TSpecimenData data;
    GetField(bytes, kSignatureAt, data.Signature);
    data.ForceScale = static_cast<int16_t>(GetLe(bytes + kForceScaleAt, 2));
    data.SampleCount = static_cast<int32_t>(GetLe(bytes + TSpecimenData::kSampleCountOffset, 4));
    GetField(bytes, kDateAt, data.DateText);
    GetField(bytes, kTestNameAt, data.TestName);
    GetField(bytes, kMarkingAt, data.Marking);
    GetField(bytes, kSampleTypeAt, data.SampleType);
    GetField(bytes, kAreaAt, data.AreaText);
    return data;
}

void TSpecimenData::TerminateTexts() {
    DateText.back() = 0;
    TestName.back() = 0;
    Marking.back() = 0;
    SampleType.back() = 0;
    AreaText.back() = 0;
}

QString TSpecimenData::DateString() const {
    return TextOf(DateText);
}
QString TSpecimenData::TestNameString() const {
    return TextOf(TestName);
}
QString TSpecimenData::MarkingString() const {
    return TextOf(Marking);
}
QString TSpecimenData::SampleTypeString() const {
    return TextOf(SampleType);
}
QString TSpecimenData::AreaString() const {
    return TextOf(AreaText);
}

TSpecimenData FillForSave(const QDate& date, const QString& testName, const QString& marking,
                          const QString& sampleType, const QString& areaText, int32_t sampleCount,
                          int16_t forceScale) {
    TSpecimenData data;
    SetText(data.Signature, QByteArray(TSpecimenData::kSignature));
    data.ForceScale = forceScale;
    data.SampleCount = sampleCount;
    // The operator's date format is Russian whatever the machine's locale.
    SetText(data.DateText, date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1());
    SetText(data.TestName, platform::ToCp1251(testName));
    SetText(data.Marking, platform::ToCp1251(marking));
    SetText(data.SampleType, platform::ToCp1251(sampleType));
    SetText(data.AreaText, platform::ToCp1251(areaText.isEmpty() ? QStringLiteral("0") : areaText));
    return data;
}
