// A playground link: the fragment "#psc=DATA&seed=S&t=T" that carries a whole effect, so that the same
// frame opens on any machine without a server. DATA is the script's UTF-8 bytes compressed as raw
// DEFLATE (RFC 1951) and written in base64url without padding; S is the random seed, a decimal from 0
// to 2^64 - 1 (kept as text: a JavaScript number would round it); T, when present, is where the
// timeline stands, in seconds on its grid of 1/60 s steps. Reading accepts any valid raw DEFLATE, not
// only what this file writes, and inflates in small pieces so that a hostile link cannot make more
// than MaxScriptBytes of text. A link that cannot be read gives a message saying what is wrong with it.

import { deflateSync, Inflate } from "fflate";

/** Most bytes of UTF-8 a script may have, in a link or in a file: 1 MiB. */
export const MaxScriptBytes = 1 << 20;
/** Fixed steps of the timeline in one second (the engine's StepsPerSecond). */
export const StepsPerSecond = 60;
/** Longest time a link may name, in seconds: one hour, as the timeline's seeks. */
export const MaxLinkSeconds = 3600;
/** Largest seed: 2^64 - 1, the random generator's 64 bits. */
export const MaxSeed = 18446744073709551615n;

const Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
const AlphabetValue = new Map([...Alphabet].map((c, i) => [c, i]));
// Raw DEFLATE can grow incompressible text by 5 bytes a stored block of 65535 bytes; anything longer
// than this cannot inflate to MaxScriptBytes or less, and is refused before it is decoded.
const MaxDeflateBytes = MaxScriptBytes + 5 * Math.ceil(MaxScriptBytes / 65535) + 64;
// Input is inflated this many bytes at a time: one piece makes at most about 66 KiB (DEFLATE's best
// ratio is 1032:1), so the text never overshoots the bound by more than that before it is stopped.
const InflatePieceBytes = 64;
const SecondsPattern = /^(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?$/;
const LoneSurrogate = /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/;
const SizeMessage = `larger than ${MaxScriptBytes / 1048576} MiB once decompressed, more than the playground opens`;

/**
 * The whole step nearest to `seconds` (halves round up), as the engine's StepsForSeconds.
 * @param {number} seconds a finite time from 0 to MaxLinkSeconds
 * @returns {number} the step, 0 .. MaxLinkSeconds * StepsPerSecond
 */
export function stepsForSeconds(seconds) {
    return Math.floor(seconds * StepsPerSecond + 0.5);
}

/**
 * The shortest decimal text of seconds that reads back to `steps` (138 gives "2.3", 1 gives "0.02").
 * @param {number} steps a whole step, 0 .. MaxLinkSeconds * StepsPerSecond
 * @returns {string} the time as `lumidor-psc --simulate` takes it
 */
export function secondsText(steps) {
    for (let digits = 0; ; ++digits) {
        const text = String(Number((steps / StepsPerSecond).toFixed(digits)));
        if (stepsForSeconds(Number(text)) === steps) return text;
    }
}

/** The canonical decimal text of a seed given as text, BigInt or safe integer, or null if none. */
function seedText(seed) {
    let value;
    if (typeof seed === "bigint") value = seed;
    else if (typeof seed === "number" && Number.isSafeInteger(seed)) value = BigInt(seed);
    else if (typeof seed === "string" && /^[0-9]{1,64}$/.test(seed)) value = BigInt(seed);
    else return null;
    return value >= 0n && value <= MaxSeed ? value.toString() : null;
}

function encodeBase64Url(bytes) {
    let text = "";
    for (let i = 0; i < bytes.length; i += 3) {
        const n = (bytes[i] << 16) | ((bytes[i + 1] ?? 0) << 8) | (bytes[i + 2] ?? 0);
        const chars = Math.min(4, Math.ceil(((bytes.length - i) * 8) / 6));
        for (let k = 0; k < chars; ++k) text += Alphabet[(n >> (18 - 6 * k)) & 63];
    }
    return text;
}

/** The bytes of base64url text (padding "=" at the end tolerated), or null if it is not base64url. */
function decodeBase64Url(text) {
    const body = text.replace(/={1,2}$/, "");
    if (body.length % 4 === 1) return null;
    const bytes = new Uint8Array(Math.floor((body.length * 6) / 8));
    let bits = 0;
    let count = 0;
    let at = 0;
    for (const c of body) {
        const value = AlphabetValue.get(c);
        if (value === undefined) return null;
        bits = ((bits << 6) | value) & 0xffffff;
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes[at++] = (bits >> count) & 0xff;
        }
    }
    return bytes;
}

/** Inflates raw DEFLATE to at most MaxScriptBytes: {bytes} or {error}. */
function inflateBounded(data) {
    const pieces = [];
    let total = 0;
    const stream = new Inflate((piece) => {
        pieces.push(piece);
        total += piece.length;
    });
    try {
        for (let at = 0; at < data.length; at += InflatePieceBytes) {
            stream.push(data.subarray(at, at + InflatePieceBytes), at + InflatePieceBytes >= data.length);
            if (total > MaxScriptBytes) return { error: `The script in this link is ${SizeMessage}.` };
        }
    } catch (failure) {
        if (/unexpected EOF/.test(failure.message))
            return {
                error: "The script in this link is cut short: its compressed data ends before the script does. Was the whole link copied?",
            };
        return {
            error: `The script in this link is damaged: its data is not valid raw DEFLATE (${failure.message}).`,
        };
    }
    const bytes = new Uint8Array(total);
    let at = 0;
    for (const piece of pieces) {
        bytes.set(piece, at);
        at += piece.length;
    }
    return { bytes };
}

/**
 * The link fragment of a script, a seed and a time.
 * @param {{script: string, seed: string|bigint|number, t?: number}} link the script's text; the seed
 *   (decimal text, a BigInt or a safe integer, 0 .. 2^64 - 1); the time in seconds, 0 .. 3600, rounded
 *   to its 1/60 s step, or undefined for a link that plays from the start
 * @returns {string} "#psc=DATA&seed=S" and "&t=T" when a time is given
 * @throws {RangeError} when the seed or time is out of range, or the script is too large for a link or
 *   holds a lone UTF-16 surrogate (which UTF-8 cannot carry)
 */
export function encodeScriptLink({ script, seed, t }) {
    const seedValue = seedText(seed);
    if (seedValue === null)
        throw new RangeError(`link seed ${String(seed)} is not a whole number from 0 to ${MaxSeed}`);
    if (typeof script !== "string") throw new TypeError("link script must be text");
    if (LoneSurrogate.test(script))
        throw new RangeError("link script holds a lone UTF-16 surrogate, which UTF-8 cannot carry");
    const bytes = new TextEncoder().encode(script);
    if (bytes.length > MaxScriptBytes)
        throw new RangeError(`link script is ${bytes.length} bytes, more than ${MaxScriptBytes}`);
    let fragment = `#psc=${encodeBase64Url(deflateSync(bytes, { level: 9 }))}&seed=${seedValue}`;
    if (t !== undefined) {
        if (typeof t !== "number" || !(t >= 0 && t <= MaxLinkSeconds))
            throw new RangeError(
                `link time ${String(t)} is not a number of seconds from 0 to ${MaxLinkSeconds}`,
            );
        fragment += `&t=${secondsText(stepsForSeconds(t))}`;
    }
    return fragment;
}

/**
 * Reads a link fragment ("#psc=DATA&seed=S&t=T"; the "#" and anything before it may be left in, the
 * parts may come in any order; empty parts, "=" padding of DATA and bytes after the end of the compressed
 * data are ignored).
 * @param {string} fragment the link, or the part of it from its "#"
 * @returns {{script: string, seed: string, t: number|undefined, steps: number|undefined} | {error: string}}
 *   the script's text, the seed as decimal text, the time in seconds on the step grid and its step
 *   (both undefined when the link has no time); or a message saying what is wrong with the link
 */
export function decodeScriptLink(fragment) {
    const text = String(fragment);
    const parts = new Map();
    for (const part of text.slice(text.indexOf("#") + 1).split("&")) {
        if (part === "") continue;
        const equals = part.indexOf("=");
        const name = equals < 0 ? part : part.slice(0, equals);
        if (!["psc", "seed", "t"].includes(name)) {
            const shown = part.length > 40 ? `${part.slice(0, 40)}...` : part;
            return {
                error: `This link has a part the playground does not know: "${shown}". A playground link has only psc, seed and t.`,
            };
        }
        if (parts.has(name)) return { error: `This link gives "${name}" twice; it must give it once.` };
        if (equals < 0) return { error: `This link's "${name}" has no value: it should read "${name}=...".` };
        parts.set(name, part.slice(equals + 1));
    }
    if (!parts.has("psc")) return { error: 'This link holds no script: it has no "psc=" part.' };
    if (!parts.has("seed")) return { error: 'This link has no seed: it has no "seed=" part.' };

    const seedValue = parts.get("seed");
    const seed = /^[0-9]{1,64}$/.test(seedValue) ? seedText(seedValue) : null;
    if (seed === null) {
        return {
            error: `The seed in this link, "${seedValue.slice(0, 40)}", is not a whole number from 0 to ${MaxSeed}.`,
        };
    }
    let t;
    let steps;
    if (parts.has("t")) {
        const timeValue = parts.get("t");
        const seconds = SecondsPattern.test(timeValue) ? Number(timeValue) : NaN;
        if (!(seconds >= 0 && seconds <= MaxLinkSeconds)) {
            return {
                error: `The time in this link, "${timeValue.slice(0, 40)}", is not a number of seconds from 0 to ${MaxLinkSeconds}.`,
            };
        }
        steps = stepsForSeconds(seconds);
        t = steps / StepsPerSecond;
    }

    const data = parts.get("psc");
    if (data === "") return { error: 'The script in this link is missing: "psc=" holds no data.' };
    if (data.length > Math.ceil((MaxDeflateBytes * 4) / 3) + 2)
        return { error: `The script in this link is ${SizeMessage}.` };
    const compressed = decodeBase64Url(data);
    if (compressed === null) {
        return {
            error: 'The script in this link is damaged: its "psc" data is not base64url (only A-Z, a-z, 0-9, "-" and "_", of a length base64url can have).',
        };
    }
    const inflated = inflateBounded(compressed);
    if (inflated.error) return inflated;
    let script;
    try {
        script = new TextDecoder("utf-8", { fatal: true, ignoreBOM: true }).decode(inflated.bytes);
    } catch {
        return {
            error: "The script in this link is damaged: it decompresses to bytes that are not UTF-8 text.",
        };
    }
    return { script, seed, t, steps };
}
