" Vim syntax file
" Language: Lumidor particle script (.psc)
" Commands are matched in any letter case, as the loader matches them. The command list is the
" loader's keyword table; a test keeps the two equal.

if exists("b:current_syntax")
  finish
endif

syntax case ignore

syntax keyword pscCommand mass particlecount airresistance beginfadeout endfadein texture
syntax keyword pscCommand lifelength randomsize size enlargement
syntax keyword pscCommand force color inertia
syntax keyword pscCommand velocity position
syntax keyword pscCommand setnewparticletype setnewmagnetpoint mode gravity radius loadtexture
syntax keyword pscCommand textureproperties blendfactor mposition continiuous fading
syntax keyword pscCommand colorkey alphakey sizekey flipbook
syntax keyword pscCommand burst sphere shell disc ring outward ondeath onbounce prewarm
syntax keyword pscCommand rotation spin stretch tint trail
syntax keyword pscCommand rate turbulence vortex ground bounce dieonground shapeaxis local

syntax keyword pscBoolean true false

" Decimal numbers with "." as decimal point and an optional exponent; $1F, 0x1F, x1F hexadecimal.
syntax match pscNumber "\v<[-+]?(0x|x)\x+>"
syntax match pscNumber "\v[-+]?\$\x+>"
syntax match pscNumber "\v(<|[-+])\d+(\.\d*)?(e[-+]?\d+)?>"
syntax match pscNumber "\v[-+]?\.\d+(e[-+]?\d+)?>"

" A file name between single quotes (no escapes).
syntax region pscString start="'" end="'" oneline

" A line starting with // after blanks, or the rest of a line after a command.
syntax match pscComment "//.*$" contains=@Spell

syntax match pscDelimiter "[;,()\[\]]"

highlight default link pscCommand Keyword
highlight default link pscBoolean Boolean
highlight default link pscNumber Number
highlight default link pscString String
highlight default link pscComment Comment
highlight default link pscDelimiter Delimiter

let b:current_syntax = "psc"
