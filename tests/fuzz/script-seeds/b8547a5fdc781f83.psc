loadtexture ( 'my tex.tga' ) ;
