// The script being written, kept in the browser's local storage as it is typed so that a reload of the
// page brings it back. An empty editor is never saved over a stored script (a failed link, a cleared
// editor or a page that loaded nothing must not wipe the author's work), and storage that is full or
// turned off is reported as a return value: the page goes on working without it.

/** The local-storage key of the kept script. */
export const ScriptStorageKey = "lumidor.playground.script";

/** The page's local storage, or what went wrong reaching it (it can throw when storage is off). */
function reach(storage) {
    if (storage) return { storage };
    try {
        if (globalThis.localStorage) return { storage: globalThis.localStorage };
        return { error: "This browser offers no local storage: the script is not kept across reloads." };
    } catch (failure) {
        return {
            error: `Local storage is turned off (${failure.message}): the script is not kept across reloads.`,
        };
    }
}

/**
 * Keeps `text` as the current script. An empty or blank text is not saved over a stored non-blank one.
 * @param {string} text the editor's text
 * @param {Storage} [storage] the storage to use (tests give their own); the page's localStorage if absent
 * @returns {{saved: boolean, error?: string}} saved: whether the text is now the stored one; error: why
 *   storing failed (storage full or turned off), absent when it did not fail
 */
export function saveScript(text, storage) {
    const reached = reach(storage);
    if (reached.error) return { saved: false, error: reached.error };
    try {
        if (text.trim() === "") {
            const kept = reached.storage.getItem(ScriptStorageKey);
            if (kept !== null && kept.trim() !== "") return { saved: false };
        }
        reached.storage.setItem(ScriptStorageKey, text);
        return { saved: true };
    } catch (failure) {
        const full = failure && (failure.name === "QuotaExceededError" || failure.code === 22);
        const why = full ? "local storage is full" : `local storage failed (${failure.message})`;
        return {
            saved: false,
            error: `The script could not be kept across reloads: ${why}. Use "Download" to keep it.`,
        };
    }
}

/**
 * The kept script.
 * @param {Storage} [storage] the storage to use; the page's localStorage if absent
 * @returns {string|null} the stored text, or null when none is stored or storage cannot be read
 */
export function loadSavedScript(storage) {
    const reached = reach(storage);
    if (reached.error) return null;
    try {
        return reached.storage.getItem(ScriptStorageKey);
    } catch {
        return null;
    }
}
