// The playground page (build/web/playground.html) in headless Chromium through the DevTools harness:
//   - every gallery script opens with no problem, and paused at a seeked time its state line is the
//     line `lumidor-psc --simulate T --seed S` prints for the same file (with --psc);
//   - a typed error is shown at its line and column and underlined in the editor, the last good
//     effect stays exactly where it stood, and the "did you mean" fix on hover clears the problem;
//   - space reaches the timeline only while the effect has the focus; in the editor it types;
//   - the effect stands beside the editor on a laptop screen and above it in a narrow window.
// With --screenshot FILE, also writes the page at 1280 x 720 with an example paused (the README's picture).
// With --measure N, only measures instead: per gallery script, paused at 2.3 s, N edits each timed from
// the load of the text to the animation frame by which the effect is drawn there (median and 95th
// percentile).
//   node playground_tests.mjs --site DIR [--psc LUMIDOR_PSC --data DIR] [--screenshot FILE] [--measure N]

import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { Browser, serve } from './devtools.mjs';

const args = { site: null, psc: null, data: null, screenshot: null, measure: null };
for (let i = 2; i < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];

let failures = 0;
function check(condition, description) {
    console.log(`${condition ? 'ok    ' : 'FAILED'} playground: ${description}`);
    if (!condition) ++failures;
}

const seed = '7';
const seconds = 1.5;
const play = (expression) => `window.lumidorPlayground.${expression}`;

async function status(browser) {
    return browser.evaluate(play('status()'));
}

// Pauses at `seconds` and waits until the page stands there; returns the state line.
async function standAt(browser, at) {
    await browser.evaluate(`(${play('control')}('pause'), ${play('control')}('seek', ${at}))`);
    return browser.waitFor(`(() => { const s = ${play('status()')}; return s.paused && s.state; })()`, 60,
                           `the state line at ${at} s`);
}

// Selects `length` characters from LINE:COLUMN in the editor, then types `text` over them as the
// keyboard would; returns the problems once the edit has loaded.
async function problemsAfterTyping(browser, line, column, length, text) {
    const before = await browser.evaluate(play('loads'));
    await browser.evaluate(`(() => { const view = ${play('editor()')}; const at = view.state.doc.line(${line}).from + ${column - 1};
        view.focus(); view.dispatch({ selection: { anchor: at, head: at + ${length} } }); })()`);
    await browser.page('Input.insertText', { text });
    await browser.waitFor(`${play('loads')} > ${before}`, 10, 'the edited text to load');
    return browser.evaluate(play('problems()'));
}

async function checkGallery(browser) {
    const names = await browser.evaluate("[...document.getElementById('gallery').options].map((o) => o.textContent)");
    check(names.length === 10 && names[0] === 'New', `the gallery offers "New", 6 examples and the demo's 3 scripts (${names.join(', ')})`);
    for (const name of names) {
        await browser.evaluate(`${play('openGalleryEntry')}(${JSON.stringify(name)})`);
        const problems = await browser.evaluate(play('problems().length'));
        const state = await standAt(browser, seconds);
        check(problems === 0 && / particles=[1-9]/.test(state), `${name} opens with no problem and draws (${state})`);
        if (!args.psc || name === 'New') continue;
        const file = `scripts/${name}`;
        const desktop = execFileSync(args.psc, ['--simulate', String(seconds), '--seed', seed, file], { cwd: args.data })
            .toString().trim();
        check(state === desktop, `${name}: the state line at ${seconds} s is lumidor-psc --simulate's (${desktop})`);
    }
}

// A new document at `url` (about:blank between, so a link that differs only after its "#" loads afresh
// instead of only changing the address); returns once the playground has started.
async function openFresh(browser, url) {
    await browser.open('about:blank');
    await browser.open(url);
    await browser.waitFor('window.lumidorPlayground !== undefined', 60, 'the playground to start');
}

// Every gallery script's link, opened on a fresh page, stands paused at its time with the same state
// line; a link that cannot be read leaves the editor and the kept script as they were; the kept script
// comes back after a reload.
async function checkLinksAndStorage(browser, address) {
    const names = await browser.evaluate("[...document.getElementById('gallery').options].map((o) => o.textContent)");
    for (const name of names) {
        await browser.evaluate(`${play('openGalleryEntry')}(${JSON.stringify(name)})`);
        const state = await standAt(browser, seconds);
        const link = await browser.evaluate(play('currentLink()'));
        await openFresh(browser, link);
        const opened = await browser.waitFor(`(() => { const s = ${play('status()')}; return s.paused && s.seed === '${seed}' && s.state; })()`,
                                             60, `${name}'s link to stand at its time`);
        // The examples' links fit in 2 KB; the demo's first script, twice as long, does not.
        const fits = !name.startsWith('examples/') || link.length - address.length <= 2048;
        check(opened === state && fits,
              `${name}: its link (${link.length - address.length} characters after the address) shows the same frame (${opened})`);
    }
    const kept = await browser.evaluate(play('editor().state.doc.toString()'));
    await openFresh(browser, `${address}#psc=not-deflate&seed=7`);
    const refused = await browser.evaluate("document.getElementById('status').textContent");
    const after = await browser.evaluate(play('editor().state.doc.toString()'));
    check(refused.startsWith('This link cannot be opened: ') && after === kept,
          `a bad link is refused with a message and the kept script opens instead (${refused})`);
    await openFresh(browser, address);
    await problemsAfterTyping(browser, 1, 1, 0, '// kept across reloads\n');
    await openFresh(browser, address);
    const restored = await browser.evaluate(play('editor().state.doc.toString()'));
    check(restored.startsWith('// kept across reloads\n'), 'a reload brings back the script as it was typed');
    await browser.evaluate(`${play('setSeed')}('${seed}')`);
}

// A seeded generator of random effects that load without error: every shape, keys, turning,
// stretching, rate, turbulence, vortex, trails, ground, sub-emitters and magnets, with random numbers.
function randomEffect(seed) {
    let state = seed >>> 0;
    const random = () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = Math.imul(state ^ (state >>> 15), 1 | state);
        t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    const number = (low, high) => (low + random() * (high - low)).toFixed(3);
    const chance = (percent) => random() * 100 < percent;
    const lines = ["loadtexture('scripts/lumina.tga');"];
    if (chance(30)) lines.push(`ground(${number(-2, -0.5)});`);
    const types = 1 + Math.floor(random() * 2);
    for (let type = 0; type < types; ++type) {
        lines.push('setnewparticletype();', 'textureproperties(2,4);', `texture(${Math.floor(random() * 8)});`,
                   `color(${number(0.2, 1)},${number(0.2, 1)},${number(0.2, 1)});`,
                   `lifelength(${number(0, 1)},${number(0.5, 2)});`, `size(${number(0.05, 0.3)},${number(0.05, 0.3)});`,
                   `mass(${number(0.5, 2)});`, `airresistance(${number(0, 2)});`, `force(0,${number(-3, 1)},0);`,
                   `velocity([${number(0, 2)},${number(-1, 0)}],[${number(0, 2)},${number(0, 3)}],[${number(0, 2)},${number(-1, 0)}]);`);
        if (chance(50)) lines.push(`${['sphere', 'shell', 'disc', 'ring'][Math.floor(random() * 4)]}(${number(0.1, 1)});`,
                                   `outward(${number(0, 2)});`);
        if (chance(30)) lines.push(`shapeaxis(${number(-1, 1)},1,${number(-1, 1)});`);
        if (chance(50)) lines.push(`burst(0,${Math.floor(random() * 300) + 1},${number(0.2, 1)},${Math.floor(random() * 5)});`);
        else if (chance(50)) lines.push(`rate(${Math.floor(random() * 400) + 1});`);
        else lines.push(`particlecount(${Math.floor(random() * 400) + 1});`);
        if (chance(40)) lines.push(`colorkey(0,1,1,1);`, `colorkey(1,${number(0, 1)},${number(0, 1)},0);`, 'alphakey(0,1);', 'alphakey(1,0);');
        if (chance(30)) lines.push(`sizekey(0,0.1,0.1);`, `sizekey(1,${number(0, 0.4)},${number(0, 0.4)});`);
        if (chance(30)) lines.push(`rotation(${number(0, 360)},0);`, `spin(${number(0, 180)},${number(-90, 0)});`);
        else if (chance(20)) lines.push(`stretch(${number(0, 0.5)});`);
        if (chance(25)) lines.push(`turbulence(${number(0, 3)},${number(0.2, 2)},${number(0, 1)});`);
        if (chance(15)) lines.push(`vortex(0,1,0,${number(-3, 3)},${number(0, 1)});`);
        if (chance(15)) lines.push(`trail(${number(0.1, 0.5)},${Math.floor(random() * 8) + 2},${number(0.02, 0.1)});`);
        if (chance(20)) lines.push(`tint(1,1,1,${number(0, 1)},${number(0, 1)},${number(0, 1)});`);
        if (type === 1 && chance(50)) lines.push(`ondeath(0,${Math.floor(random() * 3) + 1});`);
    }
    if (chance(30)) lines.push('setnewmagnetpoint();', `mposition(${number(-1, 1)},${number(0, 2)},0);`,
                               `gravity(${number(-3, 3)});`, `radius(${number(0.5, 3)});`);
    return lines.join('\n') + '\n';
}

// Random effects stand at the same particles on the page as in lumidor-psc --simulate.
async function checkRandomEffects(browser, count) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'lumidor-playground-'));
    let same = 0, loaded = 0, drawn = 0;
    const differing = [];
    try {
        for (let k = 0; k < count; ++k) {
            const text = randomEffect(k + 1);
            const problems = await browser.evaluate(`${play('loadScript')}(${JSON.stringify(text)})`);
            if (problems.some((problem) => problem.severity === 'error')) continue;
            ++loaded;
            await browser.evaluate(`${play('control')}('restart')`);
            const state = await standAt(browser, 1);
            const file = path.join(folder, `random${k + 1}.psc`);
            fs.writeFileSync(file, text);
            const desktop = execFileSync(args.psc, ['--simulate', '1', '--seed', seed, file], { cwd: args.data }).toString().trim();
            if (/ particles=[1-9]/.test(state)) ++drawn;
            if (state === desktop) ++same;
            else differing.push(`random effect ${k + 1}: ${state} / ${desktop}`);
        }
    } finally {
        fs.rmSync(folder, { recursive: true, force: true });
    }
    check(loaded >= count * 0.9 && drawn >= loaded * 0.8 && same === loaded,
          `${same} of ${loaded} random effects (of ${count}, ${drawn} with particles at 1 s) stand at lumidor-psc --simulate's particles${differing.length ? ': ' + differing.slice(0, 3).join('; ') : ''}`);
}

async function checkEditing(browser) {
    await browser.evaluate(`${play('openGalleryEntry')}('examples/firework.psc')`);
    const good = await standAt(browser, seconds);
    const lineOf = await browser.evaluate(`${play('editor()')}.state.doc.toString().split('\\n').indexOf('airresistance(0.9);') + 1`);
    const problems = await problemsAfterTyping(browser, lineOf, 1, 'airresistance'.length, 'airresistanse');
    const first = problems[0] || {};
    check(problems.length === 1 && first.line === lineOf && first.column === 1 && first.severity === 'error' &&
          first.message.endsWith("(did you mean 'airresistance'?)"),
          `a misspelt command is a problem at ${lineOf}:1 with its suggestion (${JSON.stringify(problems)})`);
    const underline = await browser.evaluate(`(() => { const e = document.querySelector('.cm-lintRange-error');
        if (!e) return null; e.scrollIntoView({ block: 'center' }); const r = e.getBoundingClientRect();
        return [e.textContent, r.left + 4, (r.top + r.bottom) / 2]; })()`);
    check(underline && underline[0] === 'airresistanse', `the editor underlines the misspelt name (${underline})`);
    const listed = await browser.evaluate("document.getElementById('problems').textContent");
    check(listed.startsWith(`${lineOf}:1: error:`), `the problems list shows it (${listed})`);
    check((await standAt(browser, seconds)) === good, `the last good effect stays as it stood (${good})`);
    if (!underline) return;

    // The fix offered on hover: one click puts the suggested name in, and the text plays again.
    const before = await browser.evaluate(play('loads'));
    await browser.mouse('mouseMoved', underline[1], underline[2]);
    const action = await browser.waitFor("(document.querySelector('.cm-diagnosticAction') || {}).textContent", 10, 'the fix on hover');
    await browser.evaluate("document.querySelector('.cm-diagnosticAction').click()");
    await browser.waitFor(`${play('loads')} > ${before}`, 10, 'the fixed text to load');
    const fixed = await browser.evaluate(play('problems()'));
    check(action === "Use 'airresistance'" && fixed.length === 0, `the fix "${action}" clears the problem (${JSON.stringify(fixed)})`);
    const after = await standAt(browser, seconds);
    check(after === good, `the fixed text plays from the time the timeline stood at (${after})`);
}

async function checkKeys(browser) {
    const paused = (await status(browser)).paused;
    await browser.evaluate(`${play('editor()')}.focus()`);
    const before = await browser.evaluate(`${play('editor()')}.state.doc.length`);
    for (const type of ['keyDown', 'keyUp']) // a space typed, as the keyboard sends it
        await browser.page('Input.dispatchKeyEvent', { type, key: ' ', code: 'Space', text: type === 'keyDown' ? ' ' : undefined, windowsVirtualKeyCode: 32 });
    const typed = (await browser.evaluate(`${play('editor()')}.state.doc.length`)) - before;
    check(typed === 1 && (await status(browser)).paused === paused, 'space in the editor types a space and leaves the timeline');
    await browser.evaluate("document.getElementById('canvas').focus()");
    await browser.key(' ', 'Space', 32);
    await browser.waitFor(`${play('status()')}.paused === ${!paused}`, 5, 'space on the effect').catch(() => {});
    check((await status(browser)).paused === !paused, 'space on the effect pauses or plays it');
    const standing = await standAt(browser, seconds);
    await browser.evaluate("document.getElementById('canvas').focus()");
    await browser.key('ArrowRight', 'ArrowRight', 39);
    const stepped = await browser.waitFor(`(() => { const s = ${play('status()')}.state; return s !== ${JSON.stringify(standing)} && s; })()`, 10, 'a step');
    check(stepped.startsWith(`t=${(seconds * 60 + 1) / 60} steps=${seconds * 60 + 1} `), `the right arrow on the effect runs one step (${stepped})`);
}

// Side by side on a laptop screen, the effect above the editor in a narrow window; both whole on the page.
async function checkLayout(browser) {
    for (const [width, height, stacked] of [[1280, 720, false], [600, 900, true]]) {
        await browser.page('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
        const [canvas, editor] = await browser.evaluate(`['canvas', 'editor'].map((id) => {
            const r = document.getElementById(id).getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; })`);
        const placed = stacked ? canvas[3] <= editor[1] : canvas[0] >= editor[2] && canvas[1] < editor[3];
        const seen = [canvas, editor].every((r) => r[2] - r[0] >= 250 && r[3] - r[1] >= 200 && r[3] - r[1] <= height && r[0] >= 0 && r[2] <= width);
        check(placed && seen, `at ${width} x ${height} the effect is ${stacked ? 'above' : 'beside'} the editor (${canvas} / ${editor})`);
    }
    await browser.page('Emulation.setDeviceMetricsOverride', { width: 800, height: 600, deviceScaleFactor: 1, mobile: false });
}

async function measure(browser, edits) {
    const names = await browser.evaluate("[...document.getElementById('gallery').options].map((o) => o.textContent)");
    for (const name of names.filter((n) => n !== 'New')) {
        await browser.evaluate(`${play('openGalleryEntry')}(${JSON.stringify(name)})`);
        await standAt(browser, 2.3);
        const times = [];
        for (let i = 0; i < edits; ++i) {
            const end = await browser.evaluate(`${play('editor()')}.state.doc.length`);
            const before = await browser.evaluate(play('loads'));
            await browser.evaluate(`(() => { const view = ${play('editor()')}; view.focus(); view.dispatch({ selection: { anchor: ${end} } }); })()`);
            await browser.page('Input.insertText', { text: ' ' });
            await browser.waitFor(`${play('loads')} > ${before} && ${play('editTiming')}.frame !== null`, 60, 'the edit drawn');
            times.push(await browser.evaluate(`${play('editTiming')}.frame - ${play('editTiming')}.start`));
        }
        times.sort((a, b) => a - b);
        const at = (q) => times[Math.min(times.length - 1, Math.ceil(q * times.length) - 1)];
        console.log(`${name}: edit to picture at 2.3 s: median ${at(0.5).toFixed(1)} ms, 95th percentile ${at(0.95).toFixed(1)} ms (${edits} edits)`);
    }
}

async function main() {
    const server = await serve(path.resolve(args.site));
    const browser = await Browser.launch();
    try {
        const address = `http://127.0.0.1:${server.address().port}/playground.html`;
        await browser.open(address);
        await browser.waitFor('window.lumidorPlayground !== undefined', 60, 'the playground to start');
        await browser.evaluate(`${play('setSeed')}('${seed}')`);
        if (args.measure) {
            await measure(browser, Number(args.measure));
            return;
        }
        await checkGallery(browser);
        if (args.psc) await checkRandomEffects(browser, 200);
        await checkLinksAndStorage(browser, address);
        await checkEditing(browser);
        await checkKeys(browser);
        await checkLayout(browser);
        if (args.screenshot) {
            await browser.page('Emulation.setDeviceMetricsOverride', { width: 1280, height: 720, deviceScaleFactor: 1, mobile: false });
            await browser.evaluate(`${play('openGalleryEntry')}('examples/firework.psc')`);
            await standAt(browser, 0.5);
            await new Promise((resolve) => setTimeout(resolve, 500)); // the resized canvas drawn again
            fs.writeFileSync(args.screenshot, await browser.screenshot());
        }
    } finally {
        await browser.close();
        server.close();
    }
    console.log(failures ? `${failures} playground check(s) failed` : 'All playground checks passed');
    process.exitCode = failures ? 1 : 0;
}

main().catch((error) => {
    console.error(`playground tests: ${error.message}`);
    process.exitCode = 1;
});
