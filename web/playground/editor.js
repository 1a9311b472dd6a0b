// The playground's editor: CodeMirror 6 with line numbers and the .psc highlighting, the loader's
// problems as diagnostics (underlined at their place, the message on hover), "did you mean" as a
// one-click fix, and a callback once the text has rested for a moment after a change.

import { basicSetup } from 'codemirror';
import { Annotation, EditorState } from '@codemirror/state';
import { EditorView } from '@codemirror/view';
import { setDiagnostics } from '@codemirror/lint';
import { pscLanguage } from './psc-mode.js';

/// "FILE:LINE:COLUMN: error: MESSAGE" (or warning; "FILE: error: MESSAGE" for a problem of no line),
/// as the loader's gcc form writes it. Null for a line of another form.
export function parseGccLine(line) {
    const placed = /^(.*?):(\d+):(\d+): (error|warning): (.*)$/.exec(line);
    if (placed)
        return { line: Number(placed[2]), column: Number(placed[3]), severity: placed[4], message: placed[5] };
    const whole = /^(.*?): (error|warning): (.*)$/.exec(line);
    if (whole) return { line: 0, column: 0, severity: whole[2], message: whole[3] };
    return null;
}

/// The problems of a gcc text, in order.
export function parseGccProblems(text) {
    return text.split('\n').map(parseGccLine).filter((problem) => problem !== null);
}

/// The replacement a "did you mean 'NAME'?" offers, or null.
export function suggestedName(message) {
    const match = /\(did you mean '([^']+)'\?\)$/.exec(message);
    return match ? match[1] : null;
}

/// The document range of a problem: from its column to the end of the word there (the whole first
/// line for a problem of no line); columns count a tab as one, as the loader does.
export function problemRange(doc, problem) {
    if (problem.line < 1 || problem.line > doc.lines) return { from: 0, to: Math.min(doc.length, doc.line(1).to) };
    const line = doc.line(problem.line);
    const from = Math.min(line.from + Math.max(problem.column - 1, 0), line.to);
    const word = /^[A-Za-z_0-9.$+-]*/.exec(line.text.slice(from - line.from))[0];
    return { from, to: Math.min(line.to, from + Math.max(word.length, 1)) };
}

// Marks a change the page made itself (a gallery entry opened): it loads at once, not after a rest.
const pageChange = Annotation.define();

/// An editor in `parent` holding `text`; `onRest(text)` runs `restMs` after the last change typed.
export function createEditor(parent, text, onRest, restMs = 150) {
    let timer = null;
    const view = new EditorView({
        parent,
        state: EditorState.create({
            doc: text,
            extensions: [
                basicSetup,
                pscLanguage,
                EditorView.lineWrapping,
                EditorView.updateListener.of((update) => {
                    if (!update.docChanged) return;
                    clearTimeout(timer);
                    if (update.transactions.some((transaction) => transaction.annotation(pageChange))) return;
                    timer = setTimeout(() => onRest(view.state.doc.toString()), restMs);
                }),
            ],
        }),
    });
    return view;
}

/// Replaces the whole text; no rest callback follows (the caller loads it).
export function setEditorText(view, text) {
    view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text }, annotations: pageChange.of(true) });
}

/// Shows `problems` (parseGccProblems) in the editor; returns them with their ranges.
export function showProblems(view, problems) {
    const doc = view.state.doc;
    const placed = problems.map((problem) => ({ ...problem, ...problemRange(doc, problem) }));
    const diagnostics = placed.map((problem) => {
        const name = suggestedName(problem.message);
        const diagnostic = { from: problem.from, to: problem.to, severity: problem.severity, message: problem.message };
        if (name)
            diagnostic.actions = [{
                name: `Use '${name}'`,
                apply(target, from, to) {
                    target.dispatch({ changes: { from, to, insert: name } });
                },
            }];
        return diagnostic;
    });
    view.dispatch(setDiagnostics(view.state, diagnostics));
    return placed;
}
