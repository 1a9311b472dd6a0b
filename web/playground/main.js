// The effect playground: the editor on the left, the demo's engine (index.js, the same module the demo
// page loads) drawing the effect on the right, the timeline bar under it and the problems under the
// editor. About 150 ms after the last keystroke the text is loaded into the engine and plays from the
// time the timeline stands at; a text with errors keeps the last good effect playing.

import { createEditor, parseGccProblems, setEditorText, showProblems } from './editor.js';
import { attachDropTarget, downloadScript, openScriptFile } from './files.js';
import { decodeScriptLink, encodeScriptLink } from './link.js';
import { loadSavedScript, saveScript } from './storage.js';

/// The starter effect "New" gives: keys over life, a burst and a shape, with no problem.
export const starterScript = `// A new effect: a ring of sparks thrown up every second, glowing from white to orange as they fall.
// Change a number and the effect on the right follows about 150 ms later.

loadtexture('scripts/lumina.tga');

setnewparticletype();
textureproperties(2, 4);   // the texture holds 2 x 4 tiles...
texture(1);                // ...these particles draw tile 1
burst(0, 200, 1, 9);       // 200 particles now, then 9 more times every second
ring(0.4);                 // born on a ring of radius 0.4
outward(0.8);              // thrown away from its centre
velocity([0, 0], [1.5, 2.5], [0, 0]);
force(0, -2, 0);           // gravity pulls them down
lifelength(1.5, 2.0);
mass(1);
inertia(1, 1, 1);
// Over its life a spark goes from white to orange to dark red, fades in fast and out slowly,
// and shrinks.
colorkey(0, 1, 1, 1);
colorkey(0.3, 1, 0.6, 0.1);
colorkey(1, 0.4, 0, 0);
alphakey(0, 0);
alphakey(0.1, 1);
alphakey(1, 0);
sizekey(0, 0.15, 0.15);
sizekey(1, 0.03, 0.03);
`;

const page = {
    canvas: document.getElementById('canvas'),
    problems: document.getElementById('problems'),
    state: document.getElementById('state'),
    status: document.getElementById('status'),
    gallery: document.getElementById('gallery'),
    play: document.getElementById('play'),
    step: document.getElementById('step'),
    restart: document.getElementById('restart'),
    speed: document.getElementById('speed'),
    time: document.getElementById('time'),
    clock: document.getElementById('clock'),
};
let engine = null; // the module once the demo runs
let editor = null;
let lastProblems = [];
let loads = 0; // texts loaded so far

function call(name, returns, types = [], values = []) {
    return engine.ccall(name, returns, types, values);
}

// When the latest good text started loading and the animation frame by which the engine had drawn it
// where the timeline stands (null until then): the time from an edit to its picture.
let editTiming = null;
function timeFirstFrame(start) {
    const timing = { start, frame: null };
    editTiming = timing;
    const look = () => {
        if (editTiming !== timing) return;
        if (status().busy) requestAnimationFrame(look);
        else timing.frame = performance.now();
    };
    requestAnimationFrame(look);
}

/// Loads `text` into the engine and shows its problems; returns them.
function loadScript(text) {
    if (!engine) return [];
    const start = performance.now();
    const problems = parseGccProblems(call('lumidor_playground_load', 'string', ['string'], [text]));
    lastProblems = showProblems(editor, problems);
    listProblems(lastProblems);
    ++loads;
    if (!problems.some((problem) => problem.severity === 'error')) timeFirstFrame(start);
    // Every text is kept as it is typed, so a reload brings it back; an empty editor is never kept
    // over the author's work.
    const kept = saveScript(text);
    if (kept.error) showMessage(kept.error);
    return lastProblems;
}

function listProblems(problems) {
    page.problems.replaceChildren(...problems.map((problem) => {
        const item = document.createElement('li');
        item.className = problem.severity;
        item.textContent = problem.line > 0
            ? `${problem.line}:${problem.column}: ${problem.severity}: ${problem.message}`
            : `${problem.severity}: ${problem.message}`;
        item.addEventListener('click', () => {
            editor.dispatch({ selection: { anchor: problem.from }, scrollIntoView: true });
            editor.focus();
        });
        return item;
    }));
    page.problems.dataset.count = String(problems.length);
}

function control(action, value = 0) {
    if (engine) call('lumidor_playground_control', null, ['string', 'number'], [action, value]);
    showStatus();
}

/// The seed of every restart, seek and load from now on (decimal text); false when it is not one.
function setSeed(text) {
    return Boolean(engine && call('lumidor_playground_set_seed', 'boolean', ['string'], [String(text)]));
}

function status() {
    return engine ? JSON.parse(call('lumidor_playground_status', 'string')) : null;
}

let sliderHeld = false;
function showStatus() {
    const now = status();
    if (!now) return;
    page.play.textContent = now.paused ? 'Play' : 'Pause';
    page.time.max = String(now.end);
    if (!sliderHeld) page.time.value = String(now.seconds);
    page.clock.textContent = `${now.seconds.toFixed(2)} s${now.work ? ' - ' + now.work : ''}`;
    if (page.state.value !== now.state) page.state.value = now.state;
    if (!page.status.dataset.message) page.status.textContent = now.paused ? 'Paused' : 'Playing';
}

function readData(path) {
    return engine.FS.readFile(path, { encoding: 'utf8' });
}

/// The gallery: "New", the examples and the demo's three scripts, as the page's data holds them.
function fillGallery() {
    const entries = [{ name: 'New', text: () => starterScript }];
    for (const name of engine.FS.readdir('/scripts/examples').filter((n) => n.endsWith('.psc')).sort())
        entries.push({ name: `examples/${name}`, text: () => readData(`/scripts/examples/${name}`) });
    for (const name of engine.FS.readdir('/scripts').filter((n) => /^ParticleScript\d\.psc$/.test(n)).sort())
        entries.push({ name, text: () => readData(`/scripts/${name}`) });
    page.gallery.replaceChildren(...entries.map((entry, index) => new Option(entry.name, String(index))));
    page.gallery.addEventListener('change', () => {
        const entry = entries[Number(page.gallery.value)];
        openText(entry.text(), entry.name);
    });
    return entries;
}

/// Opens a gallery entry by its name ("New", "examples/firework.psc", "ParticleScript1.psc").
function openGalleryEntry(name) {
    const option = [...page.gallery.options].find((o) => o.textContent === name);
    if (!option) return false;
    page.gallery.value = option.value;
    page.gallery.dispatchEvent(new Event('change'));
    return true;
}

/// A message in the status line until the next one (a refused link, a file that is no script).
function showMessage(text) {
    page.status.dataset.message = text;
    page.status.textContent = text;
}

let scriptName = 'effect.psc'; // what "Download" saves the current script as

/// Puts `text` in the editor and plays it from the start.
function openText(text, name) {
    scriptName = name || scriptName;
    setEditorText(editor, text);
    loadScript(editor.state.doc.toString());
    control('restart');
}

/// The script, seed and time of a link "#psc=...&seed=...&t=...": played from the start, or stood at
/// its time, paused. False (the message shown, the editor and the kept script untouched) for a link
/// that cannot be read.
function openLink(fragment) {
    const link = decodeScriptLink(fragment);
    if (link.error) {
        showMessage(`This link cannot be opened: ${link.error}`);
        return false;
    }
    setSeed(link.seed);
    openText(link.script, 'shared.psc');
    if (link.t !== undefined) {
        control('pause');
        control('seek', link.t);
    }
    return true;
}

/// The link of the current script, the seed and, when the timeline stands still, its time.
function currentLink() {
    const now = status();
    const fragment = encodeScriptLink({
        script: editor.state.doc.toString(),
        seed: now.seed,
        t: now.paused ? now.seconds : undefined,
    });
    return `${location.origin}${location.pathname}${fragment}`;
}

function startPage() {
    editor = createEditor(document.getElementById('editor'), '', loadScript);
    fillGallery();
    // A link's script first; else the one kept from the last visit; else the gallery's first example.
    const saved = loadSavedScript();
    const linked = location.hash.includes('psc=') && openLink(location.hash);
    if (!linked && saved !== null && saved.trim() !== '') openText(saved, 'effect.psc');
    else if (!linked) openGalleryEntry(page.gallery.options[1] ? page.gallery.options[1].textContent : 'New');
    window.addEventListener('hashchange', () => openLink(location.hash));
    document.getElementById('copy-link').addEventListener('click', () => {
        const link = currentLink();
        history.replaceState(null, '', link);
        navigator.clipboard?.writeText(link).then(
            () => showMessage(`Link copied (${link.length} characters)`),
            () => showMessage(`The link is in the address bar (${link.length} characters)`));
    });
    document.getElementById('download').addEventListener('click',
        () => downloadScript(editor.state.doc.toString(), scriptName));
    const picker = document.getElementById('open-file');
    const opened = (result) => {
        if (result.error) showMessage(result.error);
        else openText(result.script, result.name);
    };
    picker.addEventListener('change', () => {
        if (picker.files[0]) openScriptFile(picker.files[0]).then(opened);
        picker.value = '';
    });
    attachDropTarget(document.getElementById('editor'), opened);
    page.play.addEventListener('click', () => control('toggle'));
    page.step.addEventListener('click', () => control('step'));
    page.restart.addEventListener('click', () => control('restart'));
    page.speed.addEventListener('change', () => control('speed', Number(page.speed.value)));
    page.time.addEventListener('input', () => {
        sliderHeld = true;
        control('seek', Number(page.time.value));
    });
    page.time.addEventListener('change', () => (sliderHeld = false));
    setInterval(showStatus, 100);
    // For tests and the console.
    window.lumidorPlayground = {
        loadScript, control, status, setSeed, openGalleryEntry, openLink, currentLink,
        editor: () => editor,
        problems: () => lastProblems,
        get loads() { return loads; },
        get editTiming() { return editTiming; },
    };
    document.title = 'Lumidor playground';
    if (!page.status.dataset.message) page.status.textContent = 'Playing';
}

// The canvas follows its box, one canvas pixel per CSS pixel.
function fitCanvas() {
    const box = page.canvas.getBoundingClientRect();
    page.canvas.width = Math.max(1, Math.round(box.width));
    page.canvas.height = Math.max(1, Math.round(box.height));
}
new ResizeObserver(fitCanvas).observe(page.canvas);
fitCanvas();
page.canvas.addEventListener('contextmenu', (event) => event.preventDefault());
page.canvas.addEventListener('pointerdown', () => page.canvas.focus());

window.Module = {
    arguments: [],
    canvas: page.canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.error(text),
    setStatus: (text) => { if (text) page.status.textContent = text; },
    onAbort: (reason) => { page.status.textContent = `The engine stopped: ${reason}`; },
    postRun: [() => {
        engine = window.Module;
        startPage();
    }],
};
// The page's messages (a refused texture, a failed start) are the demo's; they land in the status.
window.lumidorShowMessage = (text) => showMessage(text);
const loader = document.createElement('script');
loader.src = 'index.js';
document.body.appendChild(loader);
