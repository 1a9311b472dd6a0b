// Highlighting of Lumidor particle scripts (.psc) for the playground's editor: commands (the loader's
// keyword table, generated at build time), numbers, file names in single quotes, booleans and
// comments, matched in any letter case as the loader matches them.

import { StreamLanguage } from '@codemirror/language';
import { PscKeywords } from 'psc-keywords';

const commands = new Set(PscKeywords);
const number = /^(?:[-+]?(?:0x|x)[0-9a-f]+\b|[-+]?\$[0-9a-f]+\b|[-+]?(?:\d+(?:\.\d*)?|\.\d+)(?:e[-+]?\d+)?)/i;

/// The command names the editor knows, lower case.
export const pscCommandNames = PscKeywords;

/// The .psc language for CodeMirror.
export const pscLanguage = StreamLanguage.define({
    name: 'psc',
    token(stream) {
        if (stream.eatSpace()) return null;
        if (stream.match('//')) {
            stream.skipToEnd();
            return 'comment';
        }
        if (stream.peek() === "'") {
            stream.next();
            if (!stream.skipTo("'")) stream.skipToEnd();
            else stream.next();
            return 'string';
        }
        if (stream.match(number)) return 'number';
        const word = stream.match(/^[a-z_][a-z0-9_]*/i);
        if (word) {
            const name = word[0].toLowerCase();
            if (name === 'true' || name === 'false') return 'bool';
            return commands.has(name) ? 'keyword' : 'variableName';
        }
        stream.next();
        return /[;,()[\]]/.test(stream.current()) ? 'punctuation' : null;
    },
    languageData: { commentTokens: { line: '//' } },
});
