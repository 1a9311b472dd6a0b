// Scripts as local files: a .psc opened through a file picker or dropped on the editor, and the current
// script saved as a download. A file is read as UTF-8 text; one that is too large, is not named .psc or
// is not UTF-8 gets a message saying so and changes nothing.

import { MaxScriptBytes } from "./link.js";

/**
 * Reads a script file.
 * @param {File} file a file from a picker or a drop
 * @returns {Promise<{script: string, name: string} | {error: string}>} the file's text and name, or why
 *   it cannot be opened
 */
export async function openScriptFile(file) {
    const name = String(file.name);
    if (!/\.psc$/i.test(name))
        return { error: `"${name}" is not a particle script: the playground opens .psc files.` };
    if (file.size > MaxScriptBytes) {
        return {
            error: `"${name}" is ${file.size} bytes, more than the ${MaxScriptBytes / 1048576} MiB the playground opens.`,
        };
    }
    let bytes;
    try {
        bytes = new Uint8Array(await file.arrayBuffer());
    } catch (failure) {
        return { error: `"${name}" could not be read (${failure.message}).` };
    }
    try {
        return { script: new TextDecoder("utf-8", { fatal: true, ignoreBOM: true }).decode(bytes), name };
    } catch {
        return { error: `"${name}" is not UTF-8 text.` };
    }
}

/**
 * The file name a download gets: the last part of `name` without characters file systems refuse,
 * ending in .psc ("effect.psc" when nothing is left).
 * @param {string} [name] the script's name
 * @returns {string} the name to save under
 */
export function downloadName(name) {
    const base = String(name ?? "")
        .split(/[\\/]/)
        .pop()
        .replace(/[\u0000-\u001f<>:"|?*]/g, "")
        .trim();
    const stem = base.replace(/\.psc$/i, "");
    return `${stem.replace(/^\.+/, "") || "effect"}.psc`;
}

/**
 * Saves the current script as a download.
 * @param {string} text the script's text
 * @param {string} [name] the file name (made safe by downloadName)
 * @param {Document} [doc] the page's document (tests give their own)
 */
export function downloadScript(text, name, doc = globalThis.document) {
    const url = URL.createObjectURL(new Blob([text], { type: "text/plain;charset=utf-8" }));
    const link = doc.createElement("a");
    link.href = url;
    link.download = downloadName(name);
    link.style.display = "none";
    doc.body.appendChild(link);
    link.click();
    link.remove();
    // The browser starts the download from the click; the address is freed once it has.
    setTimeout(() => URL.revokeObjectURL(url), 10000);
}

/**
 * Makes `element` take dropped .psc files. Files are taken before the element's own handlers (an
 * editor would insert a dropped file's text where it falls), the first dropped file is opened.
 * @param {HTMLElement} element the drop target (the editor)
 * @param {(opened: {script: string, name: string} | {error: string}) => void} onScript called with what
 *   openScriptFile gives for a dropped .psc, or for any other file when onOtherFile is not given
 * @param {(file: File) => void} [onOtherFile] takes dropped files not named .psc (an image for the atlas)
 * @returns {() => void} removes the handlers
 */
export function attachDropTarget(element, onScript, onOtherFile) {
    const hasFiles = (event) => event.dataTransfer && [...event.dataTransfer.types].includes("Files");
    const dragOver = (event) => {
        if (!hasFiles(event)) return;
        event.preventDefault();
        event.stopPropagation();
        event.dataTransfer.dropEffect = "copy";
    };
    const drop = (event) => {
        if (!hasFiles(event)) return;
        event.preventDefault();
        event.stopPropagation();
        const file = event.dataTransfer.files[0];
        if (!file) return;
        if (onOtherFile && !/\.psc$/i.test(file.name)) onOtherFile(file);
        else openScriptFile(file).then(onScript);
    };
    element.addEventListener("dragover", dragOver, true);
    element.addEventListener("drop", drop, true);
    return () => {
        element.removeEventListener("dragover", dragOver, true);
        element.removeEventListener("drop", drop, true);
    };
}
