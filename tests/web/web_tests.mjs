// The web demo in headless Chromium, driven through the DevTools protocol over a pipe (no packages
// beyond Node itself). Serves build/web on 127.0.0.1, then:
//   - a few slots run to their last frame: the page ends with the title "DONE", the effect is drawn
//     under the logo banner, and each slot's picture differs from the others;
//   - the right-click menu through synthetic mouse events: an effect entry, "Debug mode",
//     "Properties" and the properties window's "Close";
//   - with --desktop DIR (holding slot8.png, slot10.png, slot13.png from the desktop demo), the
//     browser's pictures of those slots (seed 1, 60 frames of 0.0333 s) are compared with the
//     desktop's pictures of the same runs: close colours where anything is drawn. Slot 8 is particles
//     alone, 10 adds the lit terrain from a display list, 13 the floor quad and 20,000 particles.
// With --measure SLOT, runs that slot uncapped and prints its frames per second instead.
//   node web_tests.mjs --site DIR [--desktop DIR] [--out DIR] [--measure SLOT --frames N]

import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

import { Browser, serve } from './devtools.mjs';

const args = parseArguments(process.argv.slice(2));

function parseArguments(list) {
    const options = { site: null, desktop: null, out: null, measure: null, frames: 300 };
    for (let i = 0; i < list.length; ++i) {
        const name = list[i].replace(/^--/, '');
        if (!(name in options)) throw new Error(`unknown option ${list[i]}`);
        options[name] = list[++i];
    }
    if (!options.site) throw new Error('--site DIR is required');
    return options;
}

// ---- PNG reading (8-bit RGB or RGBA, not interlaced: what Chromium and the desktop demo write)

function decodePng(buffer) {
    if (buffer.readUInt32BE(0) !== 0x89504e47) throw new Error('not a PNG file');
    let offset = 8, width = 0, height = 0, colourType = 0;
    const data = [];
    while (offset < buffer.length) {
        const length = buffer.readUInt32BE(offset);
        const type = buffer.toString('latin1', offset + 4, offset + 8);
        const body = buffer.subarray(offset + 8, offset + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            colourType = body[9];
            if (body[8] !== 8 || (colourType !== 2 && colourType !== 6) || body[12] !== 0)
                throw new Error('unsupported PNG format');
        } else if (type === 'IDAT') {
            data.push(body);
        }
        offset += 12 + length;
    }
    const channels = colourType === 6 ? 4 : 3;
    const raw = zlib.inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const pixels = Buffer.alloc(width * height * 3);
    let previous = Buffer.alloc(stride);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
        for (let i = 0; i < stride; ++i) {
            const a = i >= channels ? line[i - channels] : 0, b = previous[i], c = i >= channels ? previous[i - channels] : 0;
            let predictor = 0;
            if (filter === 1) predictor = a;
            else if (filter === 2) predictor = b;
            else if (filter === 3) predictor = (a + b) >> 1;
            else if (filter === 4) {
                const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
                predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            line[i] = (line[i] + predictor) & 255;
        }
        for (let x = 0; x < width; ++x)
            for (let k = 0; k < 3; ++k) pixels[(y * width + x) * 3 + k] = line[x * channels + k];
        previous = line;
    }
    return { width, height, pixels };
}

// ---- picture measures

function pixel(image, x, y) {
    const i = (y * image.width + x) * 3;
    return [image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]];
}

// Pixels brighter than `level` in the rectangle [x0, x1) x [y0, y1).
function litPixels(image, x0, y0, x1, y1, level = 40) {
    let count = 0;
    for (let y = y0; y < y1; ++y)
        for (let x = x0; x < x1; ++x) if (Math.max(...pixel(image, x, y)) > level) ++count;
    return count;
}

function meanDifference(a, b) {
    let sum = 0;
    for (let i = 0; i < a.pixels.length; ++i) sum += Math.abs(a.pixels[i] - b.pixels[i]);
    return sum / a.pixels.length;
}

// Mean colour of each 16 x 16 block.
function blockMeans(image, size = 16) {
    const blocks = [];
    for (let by = 0; by + size <= image.height; by += size)
        for (let bx = 0; bx + size <= image.width; bx += size) {
            const sum = [0, 0, 0];
            for (let y = by; y < by + size; ++y)
                for (let x = bx; x < bx + size; ++x) pixel(image, x, y).forEach((v, k) => (sum[k] += v));
            blocks.push({ x: bx, y: by, colour: sum.map((v) => v / (size * size)) });
        }
    return blocks;
}

// ---- the checks

let failures = 0;
const started = Date.now();
function check(condition, description) {
    const seconds = ((Date.now() - started) / 1000).toFixed(1).padStart(6);
    console.log(`${condition ? 'ok    ' : 'FAILED'} ${seconds} s  ${description}`);
    if (!condition) ++failures;
}

function runUrl(base, query) {
    return `${base}/index.html?${query}`;
}

async function checkSlots(browser, base, out) {
    const slots = [0, 8, 10, 13, 17];
    const pictures = {};
    for (const slot of slots) {
        await browser.open(runUrl(base, `effect=${slot}&frames=60&seed=1&fixed-dt=0.0333`));
        const title = await browser.runToEnd();
        check(title === 'DONE', `slot ${slot}: the page ends with the title DONE (${title})`);
        const png = await browser.screenshot();
        if (out) fs.writeFileSync(path.join(out, `slot${slot}.png`), png);
        const image = decodePng(png);
        pictures[slot] = image;
        check(image.width === 800 && image.height === 600, `slot ${slot}: the page is 800 x 600 (${image.width} x ${image.height})`);
        // The banner: the logo's bright lettering in the top-right 300 x 103 pixels.
        const banner = litPixels(image, 500, 0, 800, 103, 120);
        check(banner > 2000, `slot ${slot}: the logo banner is drawn in the top-right corner (${banner} bright pixels)`);
        // The effect under it: lit pixels outside the banner.
        const effect = litPixels(image, 0, 110, 800, 600) + litPixels(image, 0, 0, 495, 110);
        check(effect > 1500, `slot ${slot}: the effect is drawn under the banner (${effect} lit pixels)`);
    }
    for (let i = 0; i < slots.length; ++i)
        for (let j = i + 1; j < slots.length; ++j) {
            const difference = meanDifference(pictures[slots[i]], pictures[slots[j]]);
            check(difference > 2, `slots ${slots[i]} and ${slots[j]} draw different pictures (mean difference ${difference.toFixed(2)})`);
        }
    return pictures;
}

// script=NAME plays an example as a played script (the slots after the nineteen); a name that is no
// example is refused with a message on the page, and the run still ends.
async function checkScripts(browser, base) {
    for (const name of ['firework', 'campfire', 'explosion']) {
        await browser.open(runUrl(base, `script=${name}&frames=30&seed=1&fixed-dt=0.0333`));
        const title = await browser.runToEnd();
        check(title === 'DONE', `script=${name}: the page ends with the title DONE (${title})`);
        const state = await browser.state();
        check(state.effect === 19, `script=${name}: the example is the effect shown (slot ${state.effect})`);
    }
    await browser.open(runUrl(base, 'script=fireworks&frames=5&seed=1&fixed-dt=0.0333'));
    const title = await browser.runToEnd(60);
    check(title.startsWith('FAILED: ') && title.includes('firework, campfire, explosion, fountain, spell or smoke'),
          `script=fireworks: refused with the names it takes (${title})`);
    const shown = await browser.evaluate("document.getElementById('messages').textContent");
    check(shown.includes('"fireworks"'), `script=fireworks: the page says which name it did not know (${shown.trim()})`);
    const state = await browser.state();
    check(state.frames === 5 && state.effect === 0, `script=fireworks: the demo runs its first effect (${JSON.stringify(state)})`);
    await checkRefusalReadable(browser, 'script=fireworks');
}

// A refusal stays readable above the frozen last frame: hiding the message changes the page where it
// stands (nothing lies over it), the panel under its text is dark whatever the frame shows there, and
// the frame is still on the page around it.
async function checkRefusalReadable(browser, what) {
    const box = await browser.evaluate(
        "(() => { const r = document.getElementById('messages').getBoundingClientRect(); " +
        'return [Math.floor(r.left), Math.floor(r.top), Math.ceil(r.right), Math.ceil(r.bottom)]; })()');
    const shown = decodePng(await browser.screenshot());
    await browser.evaluate("document.getElementById('messages').style.visibility = 'hidden'");
    const hidden = decodePng(await browser.screenshot());
    await browser.evaluate("document.getElementById('messages').style.visibility = ''");
    const [x0, y0] = [Math.max(box[0] + 2, 0), Math.max(box[1] + 2, 0)];
    const [x1, y1] = [Math.min(box[2] - 2, shown.width), Math.min(box[3] - 2, shown.height)];
    let changed = 0;
    let dark = 0;
    for (let y = y0; y < y1; ++y)
        for (let x = x0; x < x1; ++x) {
            const [a, b] = [pixel(shown, x, y), pixel(hidden, x, y)];
            if (Math.abs(a[0] - b[0]) + Math.abs(a[1] - b[1]) + Math.abs(a[2] - b[2]) > 60) ++changed;
            if (Math.max(...a) < 40) ++dark;
        }
    const area = Math.max((x1 - x0) * (y1 - y0), 1);
    check(area > 1000 && changed > 200 && dark / area > 0.5,
          `${what}: the message stands on a dark panel above the picture (${changed} pixels are its text, ` +
          `${(100 * dark / area).toFixed(0)} % of its ${area} pixels dark)`);
    const frame = litPixels(shown, 520, 0, 800, 103, 120); // the banner, right of the panel
    check(frame > 2000, `${what}: the last frame stays on the page around the message (${frame} bright banner pixels)`);
}

async function checkMenu(browser, base, out) {
    await browser.open(runUrl(base, 'effect=0&seed=1'));
    await browser.waitFor("typeof Module !== 'undefined' && Module.calledRun === true", 60, 'the program to start');
    await browser.frames(5);
    check((await browser.state()).effect === 0, 'menu: the demo starts on the slot of ?effect=0');

    // Space pauses the effect and runs it again; the right arrow steps it (and pauses it).
    await browser.key(' ', 'Space', 32);
    await browser.frames(2);
    check((await browser.state()).paused === true, 'keys: space pauses the effect');
    await browser.key(' ', 'Space', 32);
    await browser.frames(2);
    check((await browser.state()).paused === false, 'keys: space runs it again');
    await browser.key('ArrowRight', 'ArrowRight', 39);
    await browser.frames(2);
    check((await browser.state()).paused === true, 'keys: the right arrow steps and pauses');
    await browser.key(' ', 'Space', 32);
    await browser.frames(2);

    const openMenu = async () => {
        await browser.click(200, 420, 'right');
        return browser.itemRect('Effects');
    };
    let effects = await openMenu();
    check(effects !== null && effects[4] === 1, 'menu: a right-click opens the menu with "Effects"');
    if (!effects) return;
    // Into the submenu: along the "Effects" row to its right end, then to the entry.
    await browser.mouse('mouseMoved', (effects[0] + effects[2]) / 2, (effects[1] + effects[3]) / 2);
    await browser.frames(3);
    await browser.mouse('mouseMoved', effects[2] - 2, (effects[1] + effects[3]) / 2);
    await browser.frames(3);
    const entry = await browser.itemRect('Stresstest (10000)');
    if (out) fs.writeFileSync(path.join(out, 'menu.png'), await browser.screenshot()); // to look at
    check(entry !== null && entry[4] === 1, 'menu: "Effects" opens the submenu with "Stresstest (10000)"');
    if (entry) {
        await browser.mouse('mouseMoved', entry[0] + 4, (effects[1] + effects[3]) / 2);
        await browser.frames(2);
        await browser.click(entry[0] + 10, (entry[1] + entry[3]) / 2);
        check((await browser.state()).effect === 10, 'menu: "Stresstest (10000)" selects slot 10');
    }

    const before = (await browser.state()).debugMode;
    await openMenu();
    const debug = await browser.itemRect('Debug mode');
    if (debug) await browser.click((debug[0] + debug[2]) / 2, (debug[1] + debug[3]) / 2);
    check(debug !== null && (await browser.state()).debugMode === !before, '"Debug mode" toggles the debug view');
    if (out) fs.writeFileSync(path.join(out, 'debug-mode.png'), await browser.screenshot()); // to look at

    await openMenu();
    const properties = await browser.itemRect('Properties');
    if (properties) await browser.click((properties[0] + properties[2]) / 2, (properties[1] + properties[3]) / 2);
    const close = await browser.itemRect('Close');
    check((await browser.state()).propertiesVisible && close !== null && close[4] === 1,
          '"Properties" shows the properties window with its Close button');
    if (close) await browser.click((close[0] + close[2]) / 2, (close[1] + close[3]) / 2);
    check(!(await browser.state()).propertiesVisible, '"Close" hides the properties window');
}

// The same run on both sides gives the same particles; the pictures differ only by rasterisation
// (Mesa's llvmpipe against SwiftShader) and by single float steps in the maths libraries.
function compareWithDesktop(slot, browserImage, desktopFile) {
    const desktop = decodePng(fs.readFileSync(desktopFile));
    const name = `slot ${slot} against the desktop`;
    if (desktop.width !== browserImage.width || desktop.height !== browserImage.height) {
        check(false, `${name}: the desktop picture has the browser's size (${desktop.width} x ${desktop.height})`);
        return;
    }
    const a = blockMeans(browserImage), b = blockMeans(desktop);
    let drawn = 0, close = 0, worst = 0;
    for (let i = 0; i < a.length; ++i) {
        const brightness = Math.max(...a[i].colour, ...b[i].colour);
        if (brightness < 24) continue;
        ++drawn;
        const difference = Math.max(...a[i].colour.map((v, k) => Math.abs(v - b[i].colour[k])));
        worst = Math.max(worst, difference);
        if (difference <= 8) ++close;
    }
    const share = drawn ? close / drawn : 0;
    check(drawn > 40, `${name}: both draw (${drawn} lit 16 x 16 blocks)`);
    check(share >= 0.95, `${name}: close colours where drawn (${(share * 100).toFixed(1)} % of lit blocks within 8 levels, worst ${worst.toFixed(1)})`);
    check(meanDifference(browserImage, desktop) < 2, `${name}: mean difference ${meanDifference(browserImage, desktop).toFixed(2)} levels`);
}

async function measure(base, slot, frames) {
    // Uncapped: the animation frames are not held to the display's rate.
    const browser = await Browser.launch(['--disable-frame-rate-limit', '--disable-gpu-vsync']);
    try {
        await browser.open(runUrl(base, `effect=${slot}&frames=${frames}&seed=1&fixed-dt=0.016667`));
        const title = await browser.runToEnd(600);
        const state = await browser.state();
        const rate = (state.frames - 1) / state.seconds;
        console.log(`slot ${slot}: ${state.frames} frames in ${state.seconds.toFixed(3)} s: ${rate.toFixed(1)} frames per second (${title})`);
    } finally {
        await browser.close();
    }
}

async function main() {
    const server = await serve(path.resolve(args.site));
    const base = `http://127.0.0.1:${server.address().port}`;
    try {
        if (args.measure !== null) {
            await measure(base, Number(args.measure), Number(args.frames));
            return;
        }
        if (args.out) fs.mkdirSync(args.out, { recursive: true });
        const browser = await Browser.launch();
        try {
            await browser.open(runUrl(base, 'effect=99'));
            const title = await browser.runToEnd(60);
            check(title.startsWith('FAILED: '), `a bad parameter ends in "FAILED: reason" (${title})`);
            const pictures = await checkSlots(browser, base, args.out);
            await checkScripts(browser, base);
            await checkMenu(browser, base, args.out);
            if (args.desktop)
                for (const slot of [8, 10, 13]) compareWithDesktop(slot, pictures[slot], path.join(args.desktop, `slot${slot}.png`));
        } finally {
            await browser.close();
        }
    } finally {
        server.close();
    }
    console.log(failures ? `${failures} web check(s) failed` : 'All web checks passed');
    process.exitCode = failures ? 1 : 0;
}

main().catch((error) => {
    console.error(`web tests: ${error.message}`);
    process.exitCode = 1;
});
