// The plot's colours (domain colouring): the hue is the argument of f(z), turning from red
// at arg 0 through yellow (π/3), green (2π/3), cyan (π), blue (-2π/3) and magenta (-π/3)
// back to red; the lightness grows with log2|f(z)|, from black at a zero through the pure
// hue at |f(z)| = 1 to white at a pole, with a faint band for every doubling of |f(z)|.
// A value with a part that is not a number (or a message) is grey.

export const nanColour = [128, 128, 128];

// How many doublings of |f(z)| take the lightness from 1/2 to 2/3 (or halvings to 1/3).
const doublingsPerStep = 1.5;
const bandDepth = 0.1;

// The lightness, between 0 and 1, for log2|f(z)|.
export function lightnessOf(log2Modulus) {
  if (log2Modulus === Infinity) return 1;
  if (log2Modulus === -Infinity) return 0;
  const smooth = 1 / (1 + 2 ** (-log2Modulus / doublingsPerStep));
  const band = log2Modulus - Math.floor(log2Modulus);
  return smooth * (1 - bandDepth * (1 - band));
}

// Writes the colour of f(z) = re + im i as RGBA at rgba[at] (a Uint8ClampedArray, which rounds).
export function writeColour(re, im, rgba, at) {
  const modulus = Math.hypot(re, im);
  if (Number.isNaN(modulus)) {
    writeNanColour(rgba, at);
    return;
  }
  writeHueLightness(Math.atan2(im, re) / (2 * Math.PI), lightnessOf(Math.log2(modulus)), rgba, at);
}

export function writeNanColour(rgba, at) {
  rgba[at] = nanColour[0];
  rgba[at + 1] = nanColour[1];
  rgba[at + 2] = nanColour[2];
  rgba[at + 3] = 255;
}

// HSL at full saturation: the hue in turns (any real), the lightness in [0, 1].
export function writeHueLightness(turn, lightness, rgba, at) {
  const sector = (turn - Math.floor(turn)) * 6;
  const chroma = (1 - Math.abs(2 * lightness - 1)) * 255;
  const rising = chroma * (1 - Math.abs((sector % 2) - 1));
  const floor = lightness * 255 - chroma / 2;
  let r = 0;
  let g = 0;
  let b = 0;
  if (sector < 1) { r = chroma; g = rising; } else if (sector < 2) { r = rising; g = chroma; } else if (sector < 3) {
    g = chroma; b = rising;
  } else if (sector < 4) { g = rising; b = chroma; } else if (sector < 5) { r = rising; b = chroma; } else {
    r = chroma; b = rising;
  }
  rgba[at] = r + floor;
  rgba[at + 1] = g + floor;
  rgba[at + 2] = b + floor;
  rgba[at + 3] = 255;
}
