" Lumidor particle scripts.
autocmd BufRead,BufNewFile *.psc setfiletype psc
