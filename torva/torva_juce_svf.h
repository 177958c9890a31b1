#pragma once

namespace torvaLib
{

// Saturating state-variable filter, run in double precision with inner oversampling, whose low, band,
// high and notch responses the engine blends with one morph amount. One object per channel and filter
// module; the engine sets it up per block and runs process() and morph() once per sample.
class Svf
{
public:
    // Stored only when 0 < hz < 20000; coefficients are not recomputed.
    void setCutoff(float hz);
    // Stored only when 0 <= r <= 2; coefficients are not recomputed.
    void setResonance(float r);
    void updateCoefficients();
    void setOversampling(int n);
    // Ignored unless rate > 0.
    void setSampleRate(double rate);
    void clear();
    void process(double x);
    // Blend of the last sample's responses, in single precision: low at 0, band at 1/3, high at 2/3,
    // notch towards 1.
    float morph(float amount) const;

    double sampleRate = 44100.0;
    int oversampling = 4;
    double damping = 2.0;
    double tuning = 0.0;
    double cutoff = 0.0;
    double resonance = 0.0;
    double lowOutput = 0.0;
    double high = 0.0;
    double band = 0.0;
    double notch = 0.0;
    double saturatedBand = 0.0;
    double low = 0.0;
};

} // namespace torvaLib
