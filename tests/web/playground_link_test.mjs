// The playground's link, storage and file modules under node's test runner: links round-trip every
// example, links of another DEFLATE encoder read, bad links get their messages, a DEFLATE bomb stops at
// the size bound, an empty editor never replaces kept work, and each example's link fits in 2 KB.
//   node --test tests/web/playground_link_test.mjs   (prints "SKIPPED: ..." and runs nothing when
//   web/playground's npm packages are not installed)
import assert from "node:assert/strict";
import { existsSync, readdirSync, readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { test as runTest } from "node:test";
import { fileURLToPath } from "node:url";
import zlib from "node:zlib";

const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
const playground = join(root, "web", "playground");
const skipped = !existsSync(join(playground, "node_modules", "fflate", "package.json"));
if (skipped) console.log(`SKIPPED: ${playground}/node_modules has no fflate: run "npm ci" there.`);
const test = skipped ? () => {} : runTest;
const [link, storage, files] = skipped
    ? [{}, {}, {}]
    : await Promise.all(["link.js", "storage.js", "files.js"].map((name) => import(join(playground, name))));
const { encodeScriptLink, decodeScriptLink, secondsText, stepsForSeconds, MaxScriptBytes } = link;

const exampleDir = join(root, "data", "scripts", "examples");
const examples = readdirSync(exampleDir).filter((name) => name.endsWith(".psc")).sort()
    .map((name) => join(exampleDir, name))
    .concat([1, 2, 3].map((n) => join(root, "data", "scripts", `ParticleScript${n}.psc`)))
    .map((path) => ({ name: path.slice(root.length + 1), script: readFileSync(path, "utf8") }));
const scripts = [
    { name: "empty", script: "" },
    { name: "non-ASCII", script: '# Ünïcødé ✨ 日本語 😀\r\nemitter "fümée"\n' },
    { name: "byte order mark", script: "\uFEFFemitter a\n" },
    ...examples,
];
const base64url = (bytes) => Buffer.from(bytes).toString("base64url");
const deflated = (bytes, options) => base64url(zlib.deflateRawSync(Buffer.from(bytes), options));

test("every script, seed and time round-trips; other encoders' raw DEFLATE reads", () => {
    assert.equal(examples.length, 9);
    const others = [{ level: 0 }, { level: 9, strategy: zlib.constants.Z_FIXED }, { level: 9 }, { level: 1 }];
    for (const { name, script } of scripts) {
        for (const [seed, t] of [["0"], ["18446744073709551615", 0], [4242n, 2.3], [7, 3600]]) {
            const fragment = encodeScriptLink({ script, seed, t });
            assert.match(fragment, /^#psc=[A-Za-z0-9_-]+&seed=[0-9]+(&t=[0-9.]+)?$/, name);
            const steps = t === undefined ? undefined : t * 60;
            assert.deepEqual(decodeScriptLink(fragment), { script, seed: String(seed), t, steps }, name);
        }
        for (const options of others) {
            const decoded = decodeScriptLink(`#seed=5&psc=${deflated(script, options)}`);
            assert.deepEqual(decoded, { script, seed: "5", t: undefined, steps: undefined }, name);
        }
    }
});

test("times are written as the shortest decimal of their 1/60 s step", () => {
    const table = [[0, "0"], [2.3, "2.3"], [1 / 60, "0.02"], [0.51, "0.52"], [0.0083, "0"],
        [0.00834, "0.02"], [3599.99, "3599.98"], [3599.995, "3600"], [100 / 3, "33.33"]];
    for (const [t, text] of table) assert.ok(encodeScriptLink({ script: "", seed: 1, t }).endsWith(`&t=${text}`), `${t}`);
    for (let steps = 0; steps <= 3600 * 60; ++steps) {
        const text = secondsText(steps);
        const shorter = text.includes(".") && stepsForSeconds(Number(text.slice(0, -1))) === steps;
        if (stepsForSeconds(Number(text)) !== steps || shorter) assert.fail(`step ${steps} written as ${text}`);
    }
});

test("a link that cannot be read says what is wrong with it", () => {
    const good = deflated("emitter a\n");
    const table = [
        ["", /holds no script: it has no "psc=" part/],
        [`#seed=1&t=2`, /holds no script/],
        [`#psc=${good}`, /has no seed/],
        [`#psc=${good}&seed=1&camera=3`, /does not know: "camera=3"/],
        [`#psc=${good}&seed=1&seed=2`, /gives "seed" twice/],
        [`#psc=${good}&seed`, /"seed" has no value/],
        [`#psc=${good}&seed=-1`, /seed in this link, "-1", is not a whole number from 0 to 18446744073709551615/],
        [`#psc=${good}&seed=18446744073709551616`, /seed .* is not a whole number/],
        [`#psc=${good}&seed=1.5`, /seed .* is not a whole number/],
        [`#psc=${good}&seed=`, /seed .* is not a whole number/],
        [`#psc=${good}&seed=1&t=3600.01`, /time in this link, "3600.01", is not a number of seconds from 0 to 3600/],
        [`#psc=${good}&seed=1&t=-0`, /time .* is not a number of seconds/],
        [`#psc=${good}&seed=1&t=Infinity`, /time .* is not a number of seconds/],
        [`#psc=${good}&seed=1&t=1e9`, /time .* is not a number of seconds/],
        [`#psc=${good}&seed=1&t=`, /time .* is not a number of seconds/],
        [`#psc=&seed=1`, /"psc=" holds no data/],
        [`#psc=${good}+&seed=1`, /not base64url/],
        [`#psc=${good.slice(0, 5)}&seed=1`, /not base64url/],
        [`#psc=${good.slice(0, -4)}&seed=1`, /cut short: its compressed data ends before the script does/],
        [`#psc=_w&seed=1`, /not valid raw DEFLATE \(invalid block type\)/],
        [`#psc=${deflated([0x66, 0xff, 0x0a])}&seed=1`, /not UTF-8 text/],
        [`#psc=${deflated([0xed, 0xa0, 0x80])}&seed=1`, /not UTF-8 text/],
    ];
    for (const [fragment, message] of table) assert.match(decodeScriptLink(fragment).error ?? "read", message, fragment);
    // Harmless leniency: a whole address, any order, empty parts, base64 padding.
    assert.equal(decodeScriptLink(`https://x/playground.html#&seed=9&&psc=${good}==`).script, "emitter a\n");
});

test("a link holds at most 1 MiB of script, however well it compresses; encoding refuses what it cannot carry", () => {
    const exact = "a".repeat(MaxScriptBytes);
    assert.equal(decodeScriptLink(encodeScriptLink({ script: exact, seed: 0 })).script, exact);
    assert.match(decodeScriptLink(`#psc=${deflated(exact + "a")}&seed=0`).error, /larger than 1 MiB once decompressed/);
    const bomb = deflated(Buffer.alloc(200 << 20), { level: 9 });
    const before = process.memoryUsage().arrayBuffers;
    assert.match(decodeScriptLink(`#psc=${bomb}&seed=0`).error, /larger than 1 MiB/);
    assert.ok(process.memoryUsage().arrayBuffers - before < 32 << 20, "the bomb was inflated past the bound");
    assert.match(decodeScriptLink(`#psc=${"A".repeat(2 << 20)}&seed=0`).error, /larger than 1 MiB/);
    for (const [bad, message] of [
        [{ script: exact + "a", seed: 0 }, /more than 1048576/],
        [{ script: "", seed: 2 ** 53 }, /seed 9007199254740992/],
        [{ script: "", seed: "18446744073709551616" }, /seed/],
        [{ script: "", seed: -1n }, /seed/],
        [{ script: "", seed: 0, t: NaN }, /time NaN/],
        [{ script: "", seed: 0, t: 3601 }, /time 3601/],
        [{ script: "a\uD800b", seed: 0 }, /lone UTF-16 surrogate/],
    ]) assert.throws(() => encodeScriptLink(bad), message);
});

test("storage keeps the script and never saves an empty editor over work", () => {
    const { saveScript, loadSavedScript, ScriptStorageKey } = storage;
    const fake = (kept, full) => ({
        items: new Map(kept === null ? [] : [[ScriptStorageKey, kept]]),
        getItem(key) { return this.items.get(key) ?? null; },
        setItem(key, value) {
            if (full) throw Object.assign(new Error("quota"), { name: "QuotaExceededError" });
            this.items.set(key, value);
        },
    });
    // kept before, typed, kept after, saved
    for (const [kept, typed, after, saved] of [[null, "emitter a", "emitter a", true],
        ["emitter a", "emitter b", "emitter b", true], ["emitter a", "", "emitter a", false],
        ["emitter a", " \n\t", "emitter a", false], [null, "", "", true], ["", "", "", true]]) {
        const store = fake(kept, false);
        assert.deepEqual(saveScript(typed, store), { saved }, JSON.stringify([kept, typed]));
        assert.equal(loadSavedScript(store), after);
    }
    const full = fake("work", true);
    assert.match(saveScript("more work", full).error, /local storage is full.*"Download"/);
    assert.equal(loadSavedScript(full), "work");
    assert.match(saveScript("x").error, /no local storage/);
    assert.equal(loadSavedScript(), null);
});

test("script files open as UTF-8 .psc text within the bound", async () => {
    const { openScriptFile, downloadName } = files;
    for (const [file, opened] of [
        [new File(["emitter ü\n"], "fire.PSC"), { script: "emitter ü\n", name: "fire.PSC" }],
        [new File(["x"], "fire.txt"), { error: '"fire.txt" is not a particle script: the playground opens .psc files.' }],
        [new File([new Uint8Array(MaxScriptBytes + 1)], "big.psc"),
            { error: '"big.psc" is 1048577 bytes, more than the 1 MiB the playground opens.' }],
        [new File([new Uint8Array([0x61, 0xc3])], "bad.psc"), { error: '"bad.psc" is not UTF-8 text.' }],
    ]) assert.deepEqual(await openScriptFile(file), opened, file.name);
    for (const [name, safe] of [["fire.psc", "fire.psc"], ["fire", "fire.psc"], ["a/b\\c:d.psc", "cd.psc"],
        ["", "effect.psc"], [undefined, "effect.psc"], ["..", "effect.psc"]]) assert.equal(downloadName(name), safe);
});

test("a dropped .psc opens, other files go to their own handler, drags of text are left alone", async () => {
    const handlers = {};
    const element = { addEventListener: (type, handler) => (handlers[type] = handler), removeEventListener() {} };
    const opened = [];
    const others = [];
    files.attachDropTarget(element, (script) => opened.push(script), (file) => others.push(file.name));
    const drop = (type, list) => {
        const event = { dataTransfer: { types: list ? ["Files"] : ["text/plain"], files: list ?? [] }, prevented: 0 };
        Object.assign(event, { preventDefault: () => ++event.prevented, stopPropagation() {} });
        handlers[type](event);
        return event.prevented;
    };
    assert.deepEqual([drop("dragover", []), drop("dragover"), drop("drop")], [1, 0, 0]);
    drop("drop", [new File(["emitter a"], "a.psc")]);
    drop("drop", [new File(["TGA"], "atlas.tga")]);
    await new Promise((resolve) => setTimeout(resolve, 10));
    assert.deepEqual([opened, others], [[{ script: "emitter a", name: "a.psc" }], ["atlas.tga"]]);
});

test("each example's link fits in 2 KB (the demo's scripts are measured)", () => {
    for (const { name, script } of examples) {
        const fragment = encodeScriptLink({ script, seed: "18446744073709551615", t: 2.3 });
        const size = Buffer.byteLength(`playground.html${fragment}`);
        console.log(`link size ${name}: ${size} bytes (script ${Buffer.byteLength(script)} bytes)`);
        if (name.includes("/examples/")) assert.ok(size <= 2048, `${name}: ${size} bytes`);
    }
});
