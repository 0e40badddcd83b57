#include "colour/spectrum_to_rgb.h"

namespace quillmere {

// CIE 1931 r, g, b chromaticity coordinates of the spectrum locus to four
// decimals. 440 nm carries g = 0.0048 (a widely copied transcription has
// 0.0018, which breaks r + g + b = 1).
const CieRgbRow kCieRgbTable[kCieRgbRowCount] = {
    {380, 0.0272f, -0.0115f, 0.9843f},
    {385, 0.0268f, -0.0114f, 0.9846f},
    {390, 0.0263f, -0.0114f, 0.9851f},
    {395, 0.0256f, -0.0113f, 0.9857f},
    {400, 0.0247f, -0.0112f, 0.9865f},
    {405, 0.0237f, -0.0111f, 0.9874f},
    {410, 0.0225f, -0.0109f, 0.9884f},
    {415, 0.0207f, -0.0104f, 0.9897f},
    {420, 0.0181f, -0.0094f, 0.9913f},
    {425, 0.0142f, -0.0076f, 0.9934f},
    {430, 0.0088f, -0.0048f, 0.9960f},
    {435, 0.0012f, -0.0007f, 0.9995f},
    {440, -0.0084f, 0.0048f, 1.0036f},
    {445, -0.0213f, 0.0120f, 1.0093f},
    {450, -0.0390f, 0.0218f, 1.0172f},
    {455, -0.0618f, 0.0345f, 1.0273f},
    {460, -0.0909f, 0.0517f, 1.0392f},
    {465, -0.1281f, 0.0762f, 1.0519f},
    {470, -0.1821f, 0.1175f, 1.0646f},
    {475, -0.2584f, 0.1840f, 1.0744f},
    {480, -0.3667f, 0.2906f, 1.0761f},
    {485, -0.5200f, 0.4568f, 1.0632f},
    {490, -0.7150f, 0.6996f, 1.0154f},
    {495, -0.9459f, 1.0247f, 0.9212f},
    {500, -1.1685f, 1.3905f, 0.7780f},
    {505, -1.3182f, 1.7195f, 0.5987f},
    {510, -1.3371f, 1.9318f, 0.4053f},
    {515, -1.2076f, 1.9699f, 0.2377f},
    {520, -0.9830f, 1.8534f, 0.1296f},
    {525, -0.7386f, 1.6662f, 0.0724f},
    {530, -0.5159f, 1.4761f, 0.0398f},
    {535, -0.3304f, 1.3105f, 0.0199f},
    {540, -0.1707f, 1.1628f, 0.0079f},
    {545, -0.0293f, 1.0282f, 0.0011f},
    {550, 0.0974f, 0.9051f, -0.0025f},
    {555, 0.2121f, 0.7919f, -0.0040f},
    {560, 0.3164f, 0.6881f, -0.0045f},
    {565, 0.4112f, 0.5932f, -0.0044f},
    {570, 0.4973f, 0.5067f, -0.0040f},
    {575, 0.5751f, 0.4283f, -0.0034f},
    {580, 0.6449f, 0.3579f, -0.0028f},
    {585, 0.7071f, 0.2952f, -0.0023f},
    {590, 0.7617f, 0.2402f, -0.0019f},
    {595, 0.8087f, 0.1928f, -0.0015f},
    {600, 0.8475f, 0.1537f, -0.0012f},
    {605, 0.8800f, 0.1209f, -0.0009f},
    {610, 0.9059f, 0.0949f, -0.0008f},
    {615, 0.9265f, 0.0741f, -0.0006f},
    {620, 0.9425f, 0.0580f, -0.0005f},
    {625, 0.9550f, 0.0454f, -0.0004f},
    {630, 0.9649f, 0.0354f, -0.0003f},
    {635, 0.9730f, 0.0272f, -0.0002f},
    {640, 0.9797f, 0.0205f, -0.0002f},
    {645, 0.9850f, 0.0152f, -0.0002f},
    {650, 0.9888f, 0.0113f, -0.0001f},
    {655, 0.9918f, 0.0083f, -0.0001f},
    {660, 0.9940f, 0.0061f, -0.0001f},
    {665, 0.9954f, 0.0047f, -0.0001f},
    {670, 0.9966f, 0.0035f, -0.0001f},
    {675, 0.9975f, 0.0025f, 0.0000f},
    {680, 0.9984f, 0.0016f, 0.0000f},
    {685, 0.9991f, 0.0009f, 0.0000f},
    {690, 0.9996f, 0.0004f, 0.0000f},
    {695, 0.9999f, 0.0001f, 0.0000f},
    {700, 1.0000f, 0.0000f, 0.0000f},
    {705, 1.0000f, 0.0000f, 0.0000f},
    {710, 1.0000f, 0.0000f, 0.0000f},
    {715, 1.0000f, 0.0000f, 0.0000f},
    {720, 1.0000f, 0.0000f, 0.0000f},
    {725, 1.0000f, 0.0000f, 0.0000f},
    {730, 1.0000f, 0.0000f, 0.0000f},
    {735, 1.0000f, 0.0000f, 0.0000f},
    {740, 1.0000f, 0.0000f, 0.0000f},
    {745, 1.0000f, 0.0000f, 0.0000f},
    {750, 1.0000f, 0.0000f, 0.0000f},
    {755, 1.0000f, 0.0000f, 0.0000f},
    {760, 1.0000f, 0.0000f, 0.0000f},
    {765, 1.0000f, 0.0000f, 0.0000f},
    {770, 1.0000f, 0.0000f, 0.0000f},
    {775, 1.0000f, 0.0000f, 0.0000f},
    {780, 1.0000f, 0.0000f, 0.0000f},
};

namespace {

// The table's wavelengths as one flat array, for evaluateAscending.
struct TableWavelengths {
  float nm[kCieRgbRowCount];
  TableWavelengths() {
    for (int k = 0; k < kCieRgbRowCount; ++k) nm[k] = kCieRgbTable[k].wavelengthNm;
  }
};

const TableWavelengths& tableWavelengths() {
  static const TableWavelengths wavelengths;
  return wavelengths;
}

} // namespace

Vector3 spectrumToRgb(const Spectrum& spectrum) {
  // Evaluate once per row. Each channel then sums the same products in the
  // same order as a pass of its own would; running the three sums in one
  // loop only lets them overlap.
  float samples[kCieRgbRowCount];
  spectrum.evaluateAscending(tableWavelengths().nm, kCieRgbRowCount, samples);

  float sumRed = 0.0f, sumGreen = 0.0f, sumBlue = 0.0f;
  for (int k = 0; k < kCieRgbRowCount; ++k) {
    sumRed += samples[k] * kCieRgbTable[k].r;
    sumGreen += samples[k] * kCieRgbTable[k].g;
    sumBlue += samples[k] * kCieRgbTable[k].b;
  }

  return {kCieRgbStepNm * sumRed, kCieRgbStepNm * sumGreen, kCieRgbStepNm * sumBlue};
}

void spectrumToRgb(const Spectrum& spectrum, float& red, float& green, float& blue) {
  spectrumToRgb(spectrum).components(red, green, blue);
}

} // namespace quillmere
