// The web tests' harness: a static file server for build/web and headless Chromium driven through the
// DevTools protocol over a pipe (no packages beyond Node itself). Shared by web_tests.mjs (the demo
// page) and playground_tests.mjs (the playground).

import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

export const chromiumFlags = [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--window-size=800,600', '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run', '--hide-scrollbars', '--mute-audio',
];

// ---- a static file server for build/web

export function serve(root) {
    const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.data': 'application/octet-stream' };
    const server = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '') || 'index.html';
        const file = path.join(root, name);
        if (!file.startsWith(path.resolve(root)) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
            response.writeHead(404);
            response.end();
            return;
        }
        response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
        fs.createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// ---- Chromium through the DevTools protocol on a pipe (fd 3 in, fd 4 out, NUL-separated JSON)

export class Browser {
    static async launch(extraFlags = []) {
        const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'lumidor-chromium-'));
        const child = spawn('chromium', [...chromiumFlags, ...extraFlags, `--user-data-dir=${profile}`,
                                         '--remote-debugging-pipe', 'about:blank'],
                            // Its own process group, so that close() can end the helper processes too.
                            { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'], detached: true });
        child.stderr.on('data', () => {}); // Chromium's own log lines (dbus, GPU stalls) are noise here
        const browser = new Browser(child, profile);
        const { targetInfos } = await browser.send('Target.getTargets');
        const page = targetInfos.find((t) => t.type === 'page');
        const { sessionId } = await browser.send('Target.attachToTarget', { targetId: page.targetId, flatten: true });
        browser.session = sessionId;
        await browser.page('Page.enable');
        await browser.page('Runtime.enable');
        await browser.page('Emulation.setDeviceMetricsOverride', { width: 800, height: 600, deviceScaleFactor: 1, mobile: false });
        return browser;
    }

    constructor(child, profile) {
        this.child = child;
        this.profile = profile;
        this.nextId = 1;
        this.pending = new Map();
        this.console = [];
        let buffered = '';
        child.stdio[4].on('data', (chunk) => {
            buffered += chunk.toString('utf8');
            let end;
            while ((end = buffered.indexOf('\0')) >= 0) {
                const message = JSON.parse(buffered.slice(0, end));
                buffered = buffered.slice(end + 1);
                if (message.id && this.pending.has(message.id)) {
                    const { resolve, reject } = this.pending.get(message.id);
                    this.pending.delete(message.id);
                    message.error ? reject(new Error(message.error.message)) : resolve(message.result);
                } else if (message.method === 'Runtime.consoleAPICalled') {
                    this.console.push(message.params.args.map((a) => a.value).join(' '));
                }
            }
        });
    }

    send(method, params = {}, sessionId = undefined) {
        const id = this.nextId++;
        this.child.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
        return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject }));
    }

    page(method, params = {}) {
        return this.send(method, params, this.session);
    }

    async evaluate(expression) {
        const { result, exceptionDetails } = await this.page('Runtime.evaluate', { expression, returnByValue: true });
        if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.text}`);
        return result.value;
    }

    async waitFor(expression, seconds, what) {
        const deadline = Date.now() + seconds * 1000;
        for (;;) {
            const value = await this.evaluate(expression);
            if (value) return value;
            if (Date.now() > deadline) throw new Error(`timed out after ${seconds} s waiting for ${what}`);
            await new Promise((r) => setTimeout(r, 50));
        }
    }

    async open(url) {
        this.console = [];
        await this.page('Page.navigate', { url });
        await this.waitFor("document.readyState === 'complete'", 30, 'the page to load');
    }

    // Waits for the end of a run with `frames`; returns the title.
    async runToEnd(seconds = 120) {
        const title = await this.waitFor(
            "(document.title === 'DONE' || document.title.startsWith('FAILED')) && document.title", seconds,
            'the title DONE');
        return title;
    }

    async screenshot() {
        const { data } = await this.page('Page.captureScreenshot', { format: 'png' });
        return Buffer.from(data, 'base64');
    }

    async state() {
        return JSON.parse(await this.evaluate("Module.ccall('lumidor_state', 'string', [], [])"));
    }

    async itemRect(name) {
        return JSON.parse(await this.evaluate(`Module.ccall('lumidor_item_rect', 'string', ['string'], [${JSON.stringify(name)}])`));
    }

    // Lets the page draw at least `count` more frames, so the UI has seen what was sent.
    async frames(count = 3) {
        const start = (await this.state()).frames;
        await this.waitFor(`JSON.parse(Module.ccall('lumidor_state', 'string', [], [])).frames >= ${start + count}`, 30,
                           `${count} frames`);
    }

    async mouse(type, x, y, button = 'none') {
        await this.page('Input.dispatchMouseEvent', { type, x, y, button, buttons: 0, clickCount: type === 'mouseMoved' ? 0 : 1 });
    }

    // A key pressed and released, as the page's keyboard sends it (keyCode as the DOM numbers it).
    async key(key, code, keyCode) {
        for (const type of ['keyDown', 'keyUp'])
            await this.page('Input.dispatchKeyEvent', { type, key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode });
    }

    async click(x, y, button = 'left') {
        await this.mouse('mouseMoved', x, y);
        await this.frames(2);
        await this.mouse('mousePressed', x, y, button);
        await this.mouse('mouseReleased', x, y, button);
        await this.frames(3);
    }

    async close() {
        const exited = new Promise((resolve) => this.child.once('exit', resolve));
        // Asked to close, Chromium stops its helpers and finishes with the profile; a kill after ten
        // seconds is the fallback.
        this.send('Browser.close').catch(() => {});
        const fallback = setTimeout(() => this.child.kill('SIGKILL'), 10000);
        await exited;
        clearTimeout(fallback);
        try {
            process.kill(-this.child.pid, 'SIGKILL'); // any helper still running
        } catch {
            // the group is gone already
        }
        // The profile is scratch: a helper still writing it must not fail the checks.
        try {
            fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
        } catch (error) {
            console.log(`note: the scratch profile ${this.profile} stays (${error.message})`);
        }
    }
}
